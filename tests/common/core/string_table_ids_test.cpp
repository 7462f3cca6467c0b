// The string tables of ventacq and ventlink (resources/*_strings.tsv) against the IDs the programs
// look up. Every ID and every expected text below is written by hand from the rules of the string
// tables: the neutral block (ID < 10000, English in all three variants), the localized block
// (ID + 10000, English, Japanese and Simplified Chinese), the fixed texts that exist in the neutral
// block only, and the section separator IDs that must not exist at all.
#include "common/core/string_table.h"
#include "tests/support/test_support.h"

#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kLocalizedOffset = 10000;
constexpr UiVariant kVariants[] = {UiVariant::English, UiVariant::Japanese, UiVariant::Chinese};

const char *variantName(UiVariant variant)
{
    switch (variant) {
    case UiVariant::English: return "en";
    case UiVariant::Japanese: return "ja";
    case UiVariant::Chinese: return "zh";
    default: break;
    }
    return "?";
}

struct IdRange { int first; int last; };
// An ID with a text: a hand-checked English text, a fixed text, or a text a variant must contain.
struct IdText { int id; const char *text; };
// A row with its three variants; nullptr means that variant is not checked by this row.
struct Row { int id; const char *en; const char *ja; const char *zh; };
// A text whose localized row is not at ID + 10000.
struct Moved { int id; int localizedId; };
// A localized variant allowed to equal the English text (units, fonts, numbers, blanks, names).
struct SameAsEnglish { int id; bool ja; bool zh; };

struct Program {
    const char *name;
    const char *file;
    std::vector<IdRange> referenced;       // neutral IDs the program looks up (or keeps)
    std::vector<Moved> moved;
    std::vector<int> separators;           // neutral IDs; + 10000 must be absent too
    std::vector<IdText> fixedTexts;        // neutral block only, all three variants the same
    std::vector<Row> neutralExceptions;    // neutral rows whose variants are not all equal
    std::vector<IdText> english;           // neutral English, all variants (blanks included)
    std::vector<Row> exact;                // rows with given values (fonts, given translations)
    std::vector<SameAsEnglish> sameAsEnglish;
    std::vector<IdText> kept;              // every variant of the neutral and localized row contains it
    std::vector<IdText> keptAtEnd;         // every variant of the neutral and localized row ends with it
};

// Font rows, the same IDs in both programs; 711 differs between them.
std::vector<Row> fontRows(const char *unusedSize)
{
    const char *msPGothic = "ＭＳ Ｐゴシック";
    return {
        {701, "Times New Roman", "Times New Roman", "Times New Roman"},
        {10701, "Times New Roman", msPGothic, "Times New Roman"},
        {702, "Courier New", "Courier New", "Courier New"},
        {10702, "Courier New", "Courier New", "Courier New"},
        {710, "9", "9", "9"},
        {10710, "9", "9", "9"},
        {711, unusedSize, unusedSize, unusedSize},
        {10711, unusedSize, unusedSize, unusedSize},
        {791, "0", "0", "0"},
        {10791, "0", "128", "0"},
    };
}

std::vector<Row> concat(std::vector<Row> a, const std::vector<Row> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<IdText> &optionTexts()
{
    static const std::vector<IdText> texts = {
        {9531, "Display ATM"}, {9532, "Save  ATM"}, {9533, "Enable ATM"}, {9534, "Enable USB"},
        {9535, "OK"},
    };
    return texts;
}

std::vector<IdText> withOptionTexts(std::vector<IdText> texts)
{
    texts.insert(texts.end(), optionTexts().begin(), optionTexts().end());
    return texts;
}

const Program &acqProgram()
{
    static const Program program{
        "ventacq",
        "/resources/ventacq_strings.tsv",
        {{510, 510}, {520, 520}, {601, 602}, {611, 613}, {651, 652}, {701, 702}, {710, 711},
         {751, 752}, {761, 764}, {791, 791}, {801, 802}, {820, 820}, {830, 830}, {901, 919}, {960, 967},
         {1011, 1014}, {1021, 1021}, {1041, 1043}, {1061, 1071}, {1081, 1082}, {1201, 1201},
         {1203, 1203}, {1221, 1221}, {1242, 1243}, {1262, 1262}, {1301, 1307}, {1316, 1317},
         {2110, 2110}, {2121, 2128}, {2131, 2133}, {2141, 2145}, {2151, 2154}, {2161, 2167},
         {2171, 2171}, {2181, 2184}, {3001, 3011}, {3100, 3100}, {4010, 4010}, {4020, 4020},
         {4030, 4030}, {4111, 4115}, {5001, 5005}, {6001, 6022}},
        {{2181, 12801}, {2182, 12802}, {2183, 12803}, {2184, 12804}},
        {101, 102, 103, 500, 501, 600, 610, 650, 700, 750, 760, 790, 800, 900, 1000, 1001, 1010,
         1020, 1040, 1060, 1080, 1200, 1300, 2000, 2120, 2130, 2140, 2150, 2160, 2170, 2180, 3000,
         4000, 4100, 5000, 6000},
        withOptionTexts({{9501, "Sec"}, {9502, "times"}, {9503, " /"}, {9504, "COM"},
                         {9505, "bps"}, {9506, "USB"}, {9511, "    Date & Time"},
                         {9512, "Velocity Data ("}, {9513, "Flow Rate Data ("}, {9514, ")"},
                         {9515, "ATM.F"}, {9516, "Velocity("}, {9517, "Flow Rate("},
                         {9521, "Error Message"}, {9522, " (Simulation)"}, {9541, "Err"},
                         {9542, "N"}, {9543, "-"}}),
        {{510, "Ventolux Data Acquisition Software", "Ventolux Data Acquisition Software ",
          "Ventolux Data Acquisition Software"}},
        {{651, "Text files(*.CSV)|*.CSV"}, {652, "Text files(*.TXT)|*.TXT"},
         {751, "Display "}, {761, " "}, {762, " "}, {801, "Data is not saved.   Do you save it ?"},
         {830, "The measurement ended. "}, {905, " Rs232 BaudRate is Error!"}, {907, " "},
         {911, "The range of velocity  is   "}, {912, "The range of sampling time is   "},
         {913, "The range of sampling number is   "},
         {916, "The data file could not be written, so the measurement was stopped:\n%1"},
         {1011, "&File"}, {2127, "Interval Time :"}, {2181, "Bore size of 1 channel  set"},
         {2184, "Bore size of 4 channel  set"}, {3004, " 1-24 hours"}, {3005, " 1-30 days"},
         {4020, "for Windows    "}, {5002, "Time New Boman"}, {6001, "[Ventolux Measuring Data]"},
         {6006, "Shape "}, {6012, "Area "}, {6017, "Duct size unit :"}},
        concat(fontRows("10"),
               {// the localized English variants that differ from the neutral block
                {16001, "[Ventolux Mornitoring Data]", nullptr, nullptr},
                {16017, "Duct size Unit:", nullptr, nullptr},
                // the given Japanese and Chinese texts
                {10751, "Display ", "表示", "显示"},
                {10752, "Measurement", "計測", "测量"},
                {10763, "Old Data", "旧データ", "旧数据"},
                {10764, "New Data", "新データ", "新数据"},
                {10801, "Data is not saved.   Do you save it ?", "データを保存していません。保存しますか。",
                 "数据没有保存，是否要保存数据?"},
                {10820, "Are you sure you want to stop measurement ?", "計測を停止しますか。",
                 "确实要停止该测量吗？"},
                {10901, "RS232c cannot be opened. ", "通信ポートを開けません。", "RS232  打开错误！"},
                {10910, "The measurement ended. ", "計測は終了しました。", "测量结束。"},
                {11011, "&File", "開く（&F）", "文件(&F)"},
                {11012, "New", "新規", "新建"},
                {11013, "Save", "保存", "保存"},
                {11014, "Exit", "終了", "退出"},
                {11042, "Measurement", "計測", "测量"},
                {11043, "Measurement Stop", "計測停止", "停止"},
                {11063, "English", "英語", "英语"},
                {11064, "Japanese", "日本語", "日语"},
                {11070, "Simplified Chinese", "中国語", "简体中文"},
                {12125, "Instant", "瞬時値", "瞬时"},
                {12126, "Average", "平均", "平均"},
                // the bore-size texts keep their English at the moved localized IDs
                {12801, "Bore size of 1 channel  set", nullptr, nullptr},
                {12804, "Bore size of 4 channel  set", nullptr, nullptr}}),
        {// product name
         {510, true, true}, {4010, true, true},
         // "OK" is the usual Japanese button text
         {602, true, false},
         // fonts, sizes and the Western character set
         {701, false, true}, {702, true, true}, {710, true, true}, {711, true, true},
         {791, false, true}, {4111, true, true}, {4112, true, true}, {4113, true, true},
         {4114, true, true}, {4115, true, true}, {5002, true, true}, {5003, true, true},
         {5004, true, true}, {5005, true, true},
         // a single blank
         {761, true, true}, {762, true, true}, {907, true, true}, {908, true, true},
         {909, true, true},
         // units as written on the instrument
         {2132, true, true}, {2133, true, true}, {2142, true, true}, {2143, true, true},
         {2144, true, true}, {2145, true, true}, {2152, true, true},
         // channel tags
         {3007, true, true}, {3008, true, true}, {3009, true, true}, {3010, true, true}},
        {{1011, "&F"}, {1041, "&M"}, {1061, "&V"}, {1081, "&H"}, {916, "%1"}, {916, "\n"}},
        {{651, "|*.CSV"}, {652, "|*.TXT"}},
    };
    return program;
}

const Program &linkProgram()
{
    static const Program program{
        "ventlink",
        "/resources/ventlink_strings.tsv",
        {{502, 502}, {601, 604}, {651, 656}, {671, 672}, {701, 702}, {710, 711}, {751, 752},
         {761, 762}, {791, 791}, {901, 912}, {960, 967}},
        {},
        {101, 102, 103, 500, 501, 600, 650, 670, 700, 750, 760, 900},
        withOptionTexts({{9541, "No"}, {9542, "X"}, {9543, "Y"}, {9544, "inch/mm"},
                         {9545, "Press("}, {9546, "Vel("}, {9547, "AFLOW("}, {9548, ")"},
                         {9549, "Type"}, {9550, "Temp( "}, {9551, " )"}, {9552, "ATM(hPa)"},
                         {9553, "ATM F"}, {9554, ".CSV"}, {9555, "OK"},
                         {9556, "Err"}, {9557, "N"}, {9558, "-"}}),
        {{651, "Driver:", "Drive:", "Drive :"}},
        {{502, "Ventolux PC-LINK Software"}, {602, "Read Data"}, {671, "deg.C"}, {672, "deg.F"},
         {751, "Display "}, {752, "Read Data"}, {903, "Rs232c  communicate error !"},
         {906, "This file name already exist.  Overwrite?"}, {912, "Serial  No.:"}},
        concat(fontRows("14"), {{10651, "Driver:", nullptr, nullptr}}),
        {{502, true, true}, {701, false, true}, {702, true, true}, {710, true, true},
         {711, true, true}, {791, false, true}},
        {},
        {},
    };
    return program;
}

std::vector<int> expand(const std::vector<IdRange> &ranges)
{
    std::vector<int> ids;
    for (const IdRange &range : ranges)
        for (int id = range.first; id <= range.last; ++id)
            ids.push_back(id);
    return ids;
}

int localizedIdOf(const Program &program, int id)
{
    for (const Moved &moved : program.moved)
        if (moved.id == id)
            return moved.localizedId;
    return id + kLocalizedOffset;
}

std::string shown(const std::optional<QString> &text)
{
    return text ? "\"" + text->toStdString() + "\"" : std::string("<missing>");
}

class StringTableIds : public ::testing::TestWithParam<const Program *>
{
protected:
    void SetUp() override
    {
        const QString path = venttest::sourcePath(QString::fromUtf8(program().file));
        QString error;
        ASSERT_TRUE(table.loadFile(path, &error)) << path.toStdString() << ": " << error.toStdString();
    }

    const Program &program() const { return *GetParam(); }

    std::optional<QString> text(int id, UiVariant variant) const { return table.text(id, variant); }

    // Checks one variant against an expected UTF-8 text (nullptr: not checked).
    void expectText(int id, UiVariant variant, const char *expected) const
    {
        if (expected == nullptr)
            return;
        EXPECT_EQ(shown(text(id, variant)), shown(QString::fromUtf8(expected)))
            << "id " << id << " " << variantName(variant);
    }

    bool isNeutralException(int id) const
    {
        const auto &rows = program().neutralExceptions;
        return std::any_of(rows.begin(), rows.end(), [id](const Row &row) { return row.id == id; });
    }

    StringTable table;
};

TEST_P(StringTableIds, HoldsExactlyTheReferencedLocalizedAndFixedIdsOnce)
{
    std::set<int> expected;
    for (int id : expand(program().referenced)) {
        expected.insert(id);
        expected.insert(localizedIdOf(program(), id));
    }
    for (const IdText &fixed : program().fixedTexts)
        expected.insert(fixed.id);

    const QList<int> ids = table.ids();
    const std::set<int> actual(ids.begin(), ids.end());
    EXPECT_EQ(actual.size(), static_cast<size_t>(ids.size())) << "an ID is listed twice";
    for (int id : expected)
        EXPECT_TRUE(actual.count(id) == 1 && table.contains(id)) << "missing id " << id;
    for (int id : actual)
        EXPECT_EQ(expected.count(id), 1u) << "unexpected id " << id;

    for (int id : program().separators) {
        EXPECT_FALSE(table.contains(id)) << "separator id " << id;
        EXPECT_FALSE(table.contains(id + kLocalizedOffset)) << "separator id " << id + kLocalizedOffset;
    }
    for (const Moved &moved : program().moved)
        EXPECT_FALSE(table.contains(moved.id + kLocalizedOffset))
            << moved.id << " is localized at " << moved.localizedId << " only";
}

TEST_P(StringTableIds, EveryReferencedIdHasAllVariantsInBothBlocks)
{
    for (int id : expand(program().referenced)) {
        for (int key : {id, localizedIdOf(program(), id)}) {
            for (UiVariant variant : kVariants) {
                const std::optional<QString> value = text(key, variant);
                EXPECT_TRUE(value.has_value() && !value->isEmpty())
                    << "id " << key << " " << variantName(variant) << " is " << shown(value);
            }
        }
    }
}

TEST_P(StringTableIds, NeutralBlockIsEnglishInEveryVariantAndLocalizedEnglishMatchesIt)
{
    std::set<int> localizedEnglishGiven;
    for (const Row &row : program().exact)
        if (row.id >= kLocalizedOffset && row.en != nullptr)
            localizedEnglishGiven.insert(row.id);

    for (int id : expand(program().referenced)) {
        const std::optional<QString> english = text(id, UiVariant::English);
        if (!isNeutralException(id)) {
            EXPECT_EQ(shown(text(id, UiVariant::Japanese)), shown(english)) << "id " << id;
            EXPECT_EQ(shown(text(id, UiVariant::Chinese)), shown(english)) << "id " << id;
        }
        const int localized = localizedIdOf(program(), id);
        if (localizedEnglishGiven.count(localized) == 0) {
            EXPECT_EQ(shown(text(localized, UiVariant::English)), shown(english)) << "id " << localized;
        }
    }
    for (const Row &row : program().neutralExceptions) {
        expectText(row.id, UiVariant::English, row.en);
        expectText(row.id, UiVariant::Japanese, row.ja);
        expectText(row.id, UiVariant::Chinese, row.zh);
    }
}

TEST_P(StringTableIds, GivenTextsAreStoredExactlyWithTheirBlanks)
{
    for (const IdText &english : program().english)
        for (UiVariant variant : kVariants)
            expectText(english.id, variant, english.text);
    for (const Row &row : program().exact) {
        expectText(row.id, UiVariant::English, row.en);
        expectText(row.id, UiVariant::Japanese, row.ja);
        expectText(row.id, UiVariant::Chinese, row.zh);
    }
}

TEST_P(StringTableIds, FixedTextsAreInTheNeutralBlockOnly)
{
    for (const IdText &fixed : program().fixedTexts) {
        for (UiVariant variant : kVariants)
            expectText(fixed.id, variant, fixed.text);
        EXPECT_FALSE(table.contains(fixed.id + kLocalizedOffset)) << "fixed text " << fixed.id;
    }
}

TEST_P(StringTableIds, LocalizedJapaneseAndChineseAreTranslated)
{
    for (int id : expand(program().referenced)) {
        bool jaMayMatch = false;
        bool zhMayMatch = false;
        for (const SameAsEnglish &same : program().sameAsEnglish) {
            if (same.id == id) {
                jaMayMatch = same.ja;
                zhMayMatch = same.zh;
            }
        }
        const int localized = localizedIdOf(program(), id);
        const std::optional<QString> english = text(localized, UiVariant::English);
        if (!jaMayMatch) {
            EXPECT_NE(shown(text(localized, UiVariant::Japanese)), shown(english))
                << "id " << localized << " ja is not translated";
        }
        if (!zhMayMatch) {
            EXPECT_NE(shown(text(localized, UiVariant::Chinese)), shown(english))
                << "id " << localized << " zh is not translated";
        }
    }
}

TEST_P(StringTableIds, AcceleratorsPlaceholdersAndFilterPatternsSurviveTranslation)
{
    auto check = [this](const IdText &needle, bool atEnd) {
        const QString part = QString::fromUtf8(needle.text);
        for (int id : {needle.id, localizedIdOf(program(), needle.id)}) {
            for (UiVariant variant : kVariants) {
                const std::optional<QString> value = text(id, variant);
                const bool ok = value && (atEnd ? value->endsWith(part) : value->contains(part));
                EXPECT_TRUE(ok) << "id " << id << " " << variantName(variant) << " is " << shown(value)
                                << ", should " << (atEnd ? "end with " : "contain ") << needle.text;
            }
        }
    };
    for (const IdText &needle : program().kept)
        check(needle, false);
    for (const IdText &needle : program().keptAtEnd)
        check(needle, true);
}

INSTANTIATE_TEST_SUITE_P(Programs, StringTableIds, ::testing::Values(&acqProgram(), &linkProgram()),
                         [](const ::testing::TestParamInfo<const Program *> &p) {
                             return std::string(p.param->name);
                         });

} // namespace
