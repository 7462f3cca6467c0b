// The string tables of ventacq and ventlink (resources/*_strings.tsv), read and checked against the
// rules of the tables rather than their texts: the neutral block (ID < 10000) is English in every
// variant; the localized block (ID + 10000) repeats each language-dependent text with its Japanese
// and Simplified Chinese translation; fixed texts (9500 and up) are in the neutral block only.
#include "common/core/string_table.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

constexpr int kLocalized = 10000;
constexpr int kFirstFixed = 9500;
constexpr UiVariant kVariants[] = {UiVariant::English, UiVariant::Japanese, UiVariant::Chinese};

struct Program
{
    const char *name, *table;
    std::vector<const char *> idHeaders;
    // The neutral IDs the program looks up or keeps (fixed texts included). Section separators of
    // the table are in no range: nothing loads them, so they must not be there.
    std::vector<std::pair<int, int>> used;
    std::map<int, int> moved;                // neutral ID -> localized ID where not ID + 10000
    std::set<int> neutralVariantsDiffer;     // kept on purpose (see the table's head)
    std::set<int> localizedEnglishDiffers;   // kept on purpose (localized IDs)
};

const Program kAcq{"ventacq", "resources/ventacq_strings.tsv",
    {"acq/core/acq_string_ids.h", "common/ui/options_dialog.h"},
    {{510, 510}, {520, 520}, {601, 602}, {611, 613}, {651, 652}, {701, 702}, {710, 711}, {751, 752},
     {761, 764}, {791, 791}, {801, 802}, {820, 820}, {830, 830}, {901, 919}, {960, 967}, {1011, 1014},
     {1021, 1021}, {1041, 1043}, {1061, 1071}, {1081, 1082}, {1201, 1201}, {1203, 1203},
     {1221, 1221}, {1242, 1243}, {1262, 1262}, {1301, 1307}, {1316, 1317}, {2110, 2110},
     {2121, 2128}, {2131, 2133}, {2141, 2145}, {2151, 2154}, {2161, 2167}, {2171, 2171},
     {2181, 2184}, {3001, 3011}, {3100, 3100}, {4010, 4010}, {4020, 4020}, {4030, 4030},
     {4111, 4115}, {5001, 5005}, {6001, 6022}, {7001, 7007}, {7020, 7036}, {7060, 7067}, {9501, 9506},
     {9511, 9517}, {9521, 9522},
     {9531, 9535}, {9541, 9543}},
    {{2181, 12801}, {2182, 12802}, {2183, 12803}, {2184, 12804}}, {510}, {16001, 16017}};
const Program kLink{"ventlink", "resources/ventlink_strings.tsv",
    {"link/core/link_string_ids.h", "common/ui/options_dialog.h"},
    {{502, 502}, {601, 604}, {651, 656}, {671, 672}, {701, 702}, {710, 711}, {751, 752}, {761, 762},
     {791, 791}, {901, 912}, {960, 967}, {921, 924}, {9531, 9535}, {9541, 9560}},
    {}, {651}, {}};

// Texts with nothing to translate: no letters, product names, font faces, units, channel tags.
const QRegularExpression kUntranslated(QStringLiteral(
    "^([^A-Za-z]*|Ventolux .*|Times New Roman|Courier New|Time New Boman|m/s|FPM|mm|"
    "m3/h|ft3/h|m3/min|ft3/min|\\dCH)$"));
// What a translation must carry over: placeholders, accelerators, file patterns, line breaks.
const QRegularExpression kKept(QStringLiteral("%\\d|&\\w|\\*\\.\\w+|\\n|\\|[^|]*$"));

QStringList keptParts(const QString &text)
{
    QStringList parts;
    for (auto it = kKept.globalMatch(text); it.hasNext();)
        parts << it.next().captured();
    parts.sort();
    return parts;
}

// The IDs an ID header declares, with the ranges its comments document ("761..764",
// "901 + i, i = 0..15").
std::set<int> headerIds(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    static const QRegularExpression decl(QStringLiteral(
        "constexpr int \\w+ = (\\d+);[^\\n]*?(?:(\\d+) \\+ \\w, \\w = )?(?:(\\d+)\\.\\.(\\d+))?\\n"));
    std::set<int> ids;
    for (auto it = decl.globalMatch(QString::fromUtf8(f.readAll())); it.hasNext();) {
        const auto m = it.next();
        ids.insert(m.captured(1).toInt());
        const int base = m.captured(2).toInt();
        for (int id = m.captured(3).toInt(); !m.captured(4).isEmpty() && id <= m.captured(4).toInt(); ++id)
            ids.insert(base + id);
    }
    return ids;
}

class StringTables : public ::testing::TestWithParam<const Program *>
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(table.loadFile(venttest::sourcePath(p().table), &error)) << error.toStdString();
    }
    const Program &p() const { return *GetParam(); }
    int localizedOf(int id) const { return p().moved.count(id) ? p().moved.at(id) : id + kLocalized; }
    QString text(int id, UiVariant v) const { return table.text(id, v).value_or(QStringLiteral("<missing>")); }
    std::set<int> used() const
    {
        std::set<int> ids;
        for (const auto &[first, last] : p().used)
            for (int id = first; id <= last; ++id)
                ids.insert(id);
        return ids;
    }
    StringTable table;
};

TEST_P(StringTables, HoldEveryUsedIdInItsBlocksOnceAndNothingElse)
{
    std::set<int> expected;
    for (int id : used()) {
        expected.insert(id);
        if (id < kFirstFixed)
            expected.insert(localizedOf(id));
    }
    const QList<int> ids = table.ids();
    const std::set<int> actual(ids.begin(), ids.end());
    for (int id : expected)
        EXPECT_TRUE(actual.count(id)) << "missing id " << id;
    for (int id : actual)
        EXPECT_TRUE(expected.count(id)) << "unexpected id " << id << " (a separator, a fixed text "
                                        << "localized, or a moved text at its old place?)";
    for (const char *header : p().idHeaders)
        for (int id : headerIds(venttest::sourcePath(header)))
            EXPECT_TRUE(used().count(id)) << header << " declares " << id;

    // No ID twice: every row of the file is one entry of the table.
    QFile f(venttest::sourcePath(p().table));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    int rows = -1; // the column heading
    for (const QByteArray &line : f.readAll().split('\n'))
        rows += !line.trimmed().isEmpty() && !line.startsWith('#');
    EXPECT_EQ(rows, int(ids.size()));
}

TEST_P(StringTables, VariantsFollowTheBlockRules)
{
    for (int id : table.ids()) {
        const QString en = text(id, UiVariant::English);
        for (UiVariant v : kVariants)
            EXPECT_FALSE(text(id, v).isEmpty()) << id << " variant " << int(v);
        if (id < kLocalized && !p().neutralVariantsDiffer.count(id)) {
            EXPECT_EQ(text(id, UiVariant::Japanese), en) << "neutral " << id;
            EXPECT_EQ(text(id, UiVariant::Chinese), en) << "neutral " << id;
        }
    }
    for (int id : used()) {
        if (id >= kFirstFixed)
            continue;
        const int loc = localizedOf(id);
        if (!p().localizedEnglishDiffers.count(loc)) {
            EXPECT_EQ(text(loc, UiVariant::English), text(id, UiVariant::English)) << loc;
        }
        const QString en = text(loc, UiVariant::English);
        if (!kUntranslated.match(en).hasMatch()) {
            if (en != QLatin1String("OK")) { // the usual Japanese button text too
                EXPECT_NE(text(loc, UiVariant::Japanese), en) << loc << " ja not translated";
            }
            EXPECT_NE(text(loc, UiVariant::Chinese), en) << loc << " zh not translated";
        }
        const QStringList kept = keptParts(text(id, UiVariant::English));
        for (int block : {id, loc})
            for (UiVariant v : kVariants)
                EXPECT_EQ(keptParts(text(block, v)), kept) << block << " variant " << int(v);
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, StringTables, ::testing::Values(&kAcq, &kLink),
                         [](const auto &param) { return std::string(param.param->name); });

TEST(StringTable, EscapesDuplicatesAndTheEnglishFallback)
{
    StringTable t;
    ASSERT_TRUE(t.loadText("id\ten\tja\tzh\n# note\n7\ta\\nb\\\\\t\tz\r\n"));
    EXPECT_EQ(t.text(7, UiVariant::English), QStringLiteral("a\nb\\"));
    EXPECT_EQ(t.lookup(7, UiVariant::Japanese), QStringLiteral("a\nb\\")); // no variant: English
    EXPECT_EQ(t.lookup(7, UiVariant::Chinese), QStringLiteral("z"));
    EXPECT_FALSE(t.lookup(8, UiVariant::English));
    EXPECT_FALSE(t.loadText("7\ta\tb\tc\n7\ta\tb\tc\n")); // an ID twice
    EXPECT_FALSE(t.loadText("7\ta\tb\n"));                // a variant missing
    EXPECT_EQ(t.text(7, UiVariant::Chinese), QStringLiteral("z")); // a failed load keeps the table
}

} // namespace
