// Record decoding into the grid: unit replies, titles, group and value lines, both ATM forms and
// the pressure column's number and marker styles. Expected rows are written from the rules.
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "tests/link/core/link_test_support.h"

#include <gtest/gtest.h>

using linktest::flags;
using linktest::makeState;
using Style = RecordGrid::Style;

namespace {

struct Decoding
{
    explicit Decoding(OptionFlags f, qint16 offset = 0, UiVariant variant = UiVariant::English)
        : state(makeState(offset, variant, f)), decoder(*state, grid)
    {
        decoder.smChangeTitle(QStringLiteral("Type"));
    }
    std::unique_ptr<LinkState> state;
    MemoryGrid grid;
    RecordDecoder decoder;
};

} // namespace

TEST(RecordDecoderUnits, UnitReplyFieldsAndTemperatureLetter)
{
    // velocity|flow|pressure|temperature after the reply
    const struct { const char *reply; bool ok; const char *units; } cases[] = {
        {"\nm/s;m3/h;kPa;C\r", true, "m/s|m3/h|kPa|deg.C"},
        {"Um/s;m3/min;Pa;  C  \r", true, "m/s|m3/min|Pa|deg.C"},
        {"\nFPM;ft3/h;inH2O;F\r", true, "FPM|ft3/h|inH2O|deg.F"},
        // any letter but C gives deg.F, an empty rest too
        {"\nm/s;m3/h;Pa;K", true, "m/s|m3/h|Pa|deg.F"},
        {"\nm/s;m3/h;Pa;", true, "m/s|m3/h|Pa|deg.F"},
        {";;;C", true, "|||deg.C"},
        // fewer than three ";": refused, nothing changed
        {"\nm/s;m3/h;Pa\r", false, "|||deg.C"},
        {"", false, "|||deg.C"},
        {"AP00", false, "|||deg.C"},
    };
    for (const auto &c : cases) {
        Decoding d(flags(0, 0, 0));
        EXPECT_EQ(d.decoder.smGetUnit(QString::fromLatin1(c.reply)), c.ok) << c.reply;
        const RecordDecoder &r = d.decoder;
        EXPECT_EQ(QStringList({r.velocityUnit(), r.flowUnit(), r.pressureUnit(),
                               r.temperatureUnit()}).join('|'), QLatin1String(c.units))
            << c.reply;
    }
}

// The column layout as the window loads it, and again after the options changed (the titles stay).
TEST(RecordDecoderTitles, ColumnLayoutFollowsTheOptionsAndKeepsTheTitles)
{
    Decoding d(flags(0, 0, 0));
    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Type|Temp( deg.C )");
    d.grid.setCell(0, 6, QStringLiteral("Vel(FPM)"));
    d.state->flags = flags(1, 0, 1);
    d.decoder.applyColumnLayout();
    // the headings of the saved pressure columns exist even while column 8 is not shown
    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Vel(FPM)|Temp( deg.C )|ATM(hPa)|ATM(hPa)|ATM F");
    EXPECT_TRUE(d.grid.isColumnHidden(8));
    d.state->flags = flags(1, 1, 1);
    d.decoder.applyColumnLayout();
    EXPECT_FALSE(d.grid.isColumnHidden(8));
    EXPECT_TRUE(d.grid.isColumnHidden(9));
    EXPECT_TRUE(d.grid.isColumnHidden(10));
    d.state->flags = flags(0, 0, 0);
    d.decoder.applyColumnLayout();
    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Vel(FPM)|Temp( deg.C )");
    EXPECT_EQ(d.grid.suspendDepth(), 0);

    Decoding ja(flags(0, 0, 0), 10000, UiVariant::Japanese);
    ASSERT_TRUE(ja.decoder.smGetUnit(QStringLiteral("\nm/s;m3/h;Pa;C")));
    ja.decoder.smViewData(QStringLiteral("\n1;2;3;4;  VEL"));
    EXPECT_EQ(ja.grid.cell(0, 7), QStringLiteral("Temp( ℃ )"));
}

// The lines of a download one after another and the rows they leave; "reset" starts a new one.
TEST(RecordDecoderRows, LinesFillRows)
{
    const struct { const char *what; OptionFlags flags; QStringList lines, rows; } cases[] = {
        // field 1 trimmed of blanks loses its first character (the LF of the line end)
        {"ATM off, groups then values", flags(0, 0, 0),
         {"\n001;  120;  340;mm;  VEL", "\n01;12.5;23.4", "\n02;12.7;23.5",
          "\n002;  130;  350;mm;  VEL", "\n01;3.0;23.6"},
         {"001|  120|  340|mm|01|12.5|23.4", "||||02|12.7|23.5", "002|  130|  350|mm|01|3.0|23.6"}},
        // six fields: no pressure columns; fewer than five: the type is blank, a value line;
        // with ATM on the type is field 5, trimmed
        {"ATM on, short group lines", flags(1, 1, 1),
         {"\n001;10;20;mm;VEL;10132", "\n01;5.5;21.0", "\n002;10;20;mm;  VEL  ;10132;1"},
         {"001|10|20|mm|01|5.5|21.0|||", "002|10|20|mm||||1013|1013|1"}},
        // one ";": no temperature; none: ignored; a group line of only its type: empty fields;
        // an empty number and a temperature holding further ";"
        {"malformed lines", flags(0, 0, 0),
         {"\n01;12.5", "garbage", "/", "  VEL", ";1;2;3"}, {"||||01|12.5|", "EL|||||1|2;3"}},
        // a reset empties the rows; a value line then opens a row of its own
        {"reset", flags(0, 0, 0), {"\n1;2;3;4;  VEL", "reset", "\n01;1;2"}, {"||||01|1|2"}},
    };
    for (const auto &c : cases) {
        Decoding d(c.flags);
        for (const QString &line : c.lines) {
            if (line != "reset")
                d.decoder.smViewData(line);
            else
                d.decoder.reset();
        }
        ASSERT_EQ(d.grid.rowCount(), c.rows.size()) << c.what;
        for (int row = 1; row <= c.rows.size(); ++row)
            EXPECT_EQ(d.grid.rowText(row), c.rows[row - 1]) << c.what << ", row " << row;
        EXPECT_EQ(d.grid.suspendDepth(), 0);
    }
}


TEST(RecordDecoderRows, QuantityTitlesFollowTheFirstLineOnly)
{
    // afterPress: a second quantity titles the values "Value"
    const struct { const char *first, *title, *afterPress; } cases[] = {
        {"\n1;2;3;4;PRESS", "Press(kPa)", "Press(kPa)"},
        {"\n1;2;3;4;  VEL", "Vel(m/s)", "Value"},
        {"\n1;2;3;4;AFLOW", "AFLOW(m3/h)", "Value"},
        // another type leaves the titles as they were and still marks them as set
        {"\n01;1.0;20.0", "Type", "Type"},
    };
    for (const auto &c : cases) {
        Decoding d(flags(0, 0, 0));
        ASSERT_TRUE(d.decoder.smGetUnit(QStringLiteral("\nm/s;m3/h;kPa;C")));
        d.decoder.smViewData(QString::fromLatin1(c.first));
        EXPECT_TRUE(d.decoder.titleSet());
        EXPECT_EQ(d.grid.cell(0, 6), QLatin1String(c.title)) << c.first;
        d.decoder.smViewData(QStringLiteral("\n9;2;3;4;PRESS"));
        EXPECT_EQ(d.grid.cell(0, 6), QLatin1String(c.afterPress)) << "second line";
        d.decoder.reset(); // a new download: the titles stay until its first line
        EXPECT_FALSE(d.decoder.titleSet());
        EXPECT_EQ(d.grid.cell(0, 6), QLatin1String(c.afterPress));
    }
}

TEST(RecordDecoderRows, AtmOnPressureColumnByFlag)
{
    // columns: the shown pressure (8, in the style given), the saved one and the flag
    const struct { const char *pressure, *flag; qint16 offset; const char *columns; Style style; }
        cases[] = {
            {"10132", "1", 0, "1013|1013|1", Style::Number},
            {"10135", "2", 0, "1014|1014|2", Style::Number}, // 1013.5 rounds half away from zero
            {"10132", " 2 ", 0, "1013|1013| 2 ", Style::Number},
            {"10132", "3", 0, "Err|1013|3", Style::Number},
            {"10132", "0", 0, "N|1013|0", Style::Marker},
            {"10132", "", 0, "N|1013|", Style::Marker},
            {"10132", "0", 10000, "-|1013|0", Style::Marker},
            {"10132", "3", 10000, "Err|1013|3", Style::Number},
            // a single digit gets no decimal point; zero writes nothing under "####"
            {"7", "1", 0, "7|7|1", Style::Number},
            {"0", "1", 0, "||1", Style::Number},
            // text that is not a number passes unchanged
            {"abc", "1", 0, "ab.c|ab.c|1", Style::Number},
        };
    for (const auto &c : cases) {
        Decoding d(flags(1, 1, 1), c.offset);
        d.decoder.smViewData(QStringLiteral("\n001;10;20;mm;VEL;%1;%2")
                                 .arg(QLatin1String(c.pressure), QLatin1String(c.flag)));
        ASSERT_EQ(d.grid.rowCount(), 1) << c.pressure << "/" << c.flag;
        EXPECT_EQ(d.grid.rowText(1).section('|', 7), QLatin1String(c.columns)) << c.pressure;
        EXPECT_EQ(d.grid.cellStyle(1, 8), c.style) << c.pressure << "/" << c.flag;
    }
}
