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
    struct Case
    {
        const char *reply;
        bool ok;
        const char *velocity, *flow, *pressure, *temperature;
    };
    const Case cases[] = {
        {"\nm/s;m3/h;kPa;C\r", true, "m/s", "m3/h", "kPa", "deg.C"},
        {"Um/s;m3/min;Pa;  C  \r", true, "m/s", "m3/min", "Pa", "deg.C"},
        {"\nFPM;ft3/h;inH2O;F\r", true, "FPM", "ft3/h", "inH2O", "deg.F"},
        // any letter but C gives deg.F, an empty rest too
        {"\nm/s;m3/h;Pa;K", true, "m/s", "m3/h", "Pa", "deg.F"},
        {"\nm/s;m3/h;Pa;", true, "m/s", "m3/h", "Pa", "deg.F"},
        // a reply that is only the three separators
        {";;;C", true, "", "", "", "deg.C"},
        // fewer than three ";": refused, nothing changed
        {"\nm/s;m3/h;Pa\r", false, "", "", "", "deg.C"},
        {"", false, "", "", "", "deg.C"},
        {"AP00", false, "", "", "", "deg.C"},
    };
    for (const Case &c : cases) {
        Decoding d(flags(0, 0, 0));
        EXPECT_EQ(d.decoder.smGetUnit(QString::fromLatin1(c.reply)), c.ok) << c.reply;
        EXPECT_EQ(d.decoder.velocityUnit(), QLatin1String(c.velocity)) << c.reply;
        EXPECT_EQ(d.decoder.flowUnit(), QLatin1String(c.flow)) << c.reply;
        EXPECT_EQ(d.decoder.pressureUnit(), QLatin1String(c.pressure)) << c.reply;
        EXPECT_EQ(d.decoder.temperatureUnit(), QLatin1String(c.temperature)) << c.reply;
    }
}

// The column layout as the window loads it, and again after the options changed (the titles stay).
TEST(RecordDecoderTitles, ColumnLayoutFollowsTheOptionsAndKeepsTheTitles)
{
    Decoding d(flags(0, 0, 0));
    EXPECT_EQ(d.grid.columnCount(), 7);
    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Type|Temp( deg.C )");
    Decoding on(flags(1, 1, 1));
    EXPECT_EQ(on.grid.rowText(0), "No|X|Y|inch/mm|No|Type|Temp( deg.C )|ATM(hPa)|ATM(hPa)|ATM F");
    EXPECT_FALSE(on.grid.isColumnHidden(8));
    EXPECT_TRUE(on.grid.isColumnHidden(9));
    EXPECT_TRUE(on.grid.isColumnHidden(10));

    d.grid.setCell(0, 6, QStringLiteral("Vel(FPM)"));
    d.state->flags = flags(1, 0, 1);
    d.decoder.applyColumnLayout();
    // the headings of the saved pressure columns exist even while column 8 is not shown
    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Vel(FPM)|Temp( deg.C )|ATM(hPa)|ATM(hPa)|ATM F");
    EXPECT_TRUE(d.grid.isColumnHidden(8));
    d.state->flags = flags(1, 1, 1);
    d.decoder.applyColumnLayout();
    EXPECT_FALSE(d.grid.isColumnHidden(8));
    d.state->flags = flags(0, 0, 0);
    d.decoder.applyColumnLayout();
    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Vel(FPM)|Temp( deg.C )");
    EXPECT_EQ(d.grid.suspendDepth(), 0);
}

TEST(RecordDecoderRows, AtmOffGroupThenValuesFillRowsAsSpecified)
{
    Decoding d(flags(0, 0, 0));
    ASSERT_TRUE(d.decoder.smGetUnit(QStringLiteral("\nm/s;m3/h;Pa;F\r")));
    d.decoder.smViewData(QStringLiteral("\n001;  120;  340;mm;  VEL"));
    d.decoder.smViewData(QStringLiteral("\n01;12.5;23.4"));
    d.decoder.smViewData(QStringLiteral("\n02;12.7;23.5"));
    d.decoder.smViewData(QStringLiteral("\n002;  130;  350;mm;  VEL"));
    d.decoder.smViewData(QStringLiteral("\n01;3.0;23.6"));

    EXPECT_EQ(d.grid.rowText(0), "No|X|Y|inch/mm|No|Vel(m/s)|Temp( deg.F )");
    ASSERT_EQ(d.grid.rowCount(), 3);
    // field 1 trimmed of blanks loses its first character (the LF of the line end)
    EXPECT_EQ(d.grid.rowText(1), "001|  120|  340|mm|01|12.5|23.4");
    EXPECT_EQ(d.grid.rowText(2), "||||02|12.7|23.5");
    EXPECT_EQ(d.grid.rowText(3), "002|  130|  350|mm|01|3.0|23.6");
    EXPECT_EQ(d.grid.currentRow(), 3);
    EXPECT_EQ(d.grid.suspendDepth(), 0);
}

TEST(RecordDecoderRows, QuantityTitlesFollowTheFirstLineOnly)
{
    struct Case
    {
        const char *first;
        const char *title;
        const char *afterPress; // a second quantity titles the values "Value"
    };
    const Case cases[] = {
        {"\n1;2;3;4;PRESS", "Press(kPa)", "Press(kPa)"},
        {"\n1;2;3;4;  VEL", "Vel(m/s)", "Value"},
        {"\n1;2;3;4;AFLOW", "AFLOW(m3/h)", "Value"},
        // another type leaves the titles as they were and still marks them as set
        {"\n01;1.0;20.0", "Type", "Type"},
    };
    for (const Case &c : cases) {
        Decoding d(flags(0, 0, 0));
        ASSERT_TRUE(d.decoder.smGetUnit(QStringLiteral("\nm/s;m3/h;kPa;C")));
        d.decoder.smViewData(QString::fromLatin1(c.first));
        EXPECT_TRUE(d.decoder.titleSet());
        EXPECT_EQ(d.grid.cell(0, 6), QLatin1String(c.title)) << c.first;
        d.decoder.smViewData(QStringLiteral("\n9;2;3;4;PRESS"));
        EXPECT_EQ(d.grid.cell(0, 6), QLatin1String(c.afterPress)) << "second line";
    }
}

TEST(RecordDecoderRows, AtmOnPressureColumnByFlag)
{
    struct Case
    {
        const char *pressure;
        const char *flag;
        qint16 offset;
        const char *column8;
        Style style;
        const char *column9;
    };
    const Case cases[] = {
        {"10132", "1", 0, "1013", Style::Number, "1013"},
        {"10135", "2", 0, "1014", Style::Number, "1014"}, // 1013.5 rounds half away from zero
        {"10132", " 2 ", 0, "1013", Style::Number, "1013"},
        {"10132", "3", 0, "Err", Style::Number, "1013"},
        {"10132", "0", 0, "N", Style::Marker, "1013"},
        {"10132", "", 0, "N", Style::Marker, "1013"},
        {"10132", "0", 10000, "-", Style::Marker, "1013"},
        {"10132", "3", 10000, "Err", Style::Number, "1013"},
        // a single digit gets no decimal point; zero writes nothing under "####"
        {"7", "1", 0, "7", Style::Number, "7"},
        {"0", "1", 0, "", Style::Number, ""},
        // text that is not a number passes unchanged
        {"abc", "1", 0, "ab.c", Style::Number, "ab.c"},
    };
    for (const Case &c : cases) {
        Decoding d(flags(1, 1, 1), c.offset);
        const QString line = QStringLiteral("\n001;10;20;mm;VEL;%1;%2")
                                 .arg(QLatin1String(c.pressure), QLatin1String(c.flag));
        d.decoder.smViewData(line);
        ASSERT_EQ(d.grid.rowCount(), 1) << c.pressure << c.flag;
        EXPECT_EQ(d.grid.cell(1, 8), QLatin1String(c.column8)) << c.pressure << "/" << c.flag;
        EXPECT_EQ(d.grid.cellStyle(1, 8), c.style) << c.pressure << "/" << c.flag;
        EXPECT_EQ(d.grid.cell(1, 9), QLatin1String(c.column9));
        EXPECT_EQ(d.grid.cell(1, 10), QLatin1String(c.flag));
        EXPECT_EQ(d.grid.rowText(1).left(16), "001|10|20|mm||||");
    }
}

TEST(RecordDecoderRows, AtmOnTypeFieldAndShortGroupLines)
{
    Decoding d(flags(1, 1, 1));
    // six fields: type found, no pressure columns written
    d.decoder.smViewData(QStringLiteral("\n001;10;20;mm;VEL;10132"));
    EXPECT_EQ(d.grid.rowText(1), "001|10|20|mm||||||");
    // fewer than five fields: the type is blank, so it is a value line
    d.decoder.smViewData(QStringLiteral("\n01;5.5;21.0"));
    EXPECT_EQ(d.grid.rowText(1), "001|10|20|mm|01|5.5|21.0|||");
    // with ATM on the type is field 5, trimmed
    d.decoder.smViewData(QStringLiteral("\n002;10;20;mm;  VEL  ;10132;1"));
    EXPECT_EQ(d.grid.rowText(2), "002|10|20|mm||||1013|1013|1");
}

TEST(RecordDecoderRows, MalformedLinesNeverReadPastTheirFields)
{
    Decoding d(flags(0, 0, 0));
    // a value line with one ";": the rest is the value, the temperature is empty
    d.decoder.smViewData(QStringLiteral("\n01;12.5"));
    EXPECT_EQ(d.grid.rowText(1), "||||01|12.5|");
    // no ";" at all: nothing happens
    d.decoder.smViewData(QStringLiteral("garbage"));
    d.decoder.smViewData(QStringLiteral("/"));
    EXPECT_EQ(d.grid.rowCount(), 1);
    // a group line with only its type: missing fields are empty
    d.decoder.smViewData(QStringLiteral("  VEL"));
    EXPECT_EQ(d.grid.rowText(2), "EL||||||");
    d.decoder.smWriteData(QString());
    EXPECT_EQ(d.grid.rowCount(), 2);
    // a value line with an empty number and a temperature holding further ";"
    d.decoder.smViewData(QStringLiteral(";1;2;3"));
    EXPECT_EQ(d.grid.rowText(2), "EL|||||1|2;3");
    EXPECT_EQ(d.grid.suspendDepth(), 0);
}

TEST(RecordDecoderRows, ResetEmptiesRowsButKeepsTitles)
{
    Decoding d(flags(0, 0, 0));
    d.decoder.smViewData(QStringLiteral("\n1;2;3;4;  VEL"));
    d.decoder.reset();
    EXPECT_EQ(d.grid.rowCount(), 0);
    EXPECT_FALSE(d.decoder.titleSet());
    EXPECT_FALSE(d.decoder.rowPending());
    EXPECT_EQ(d.grid.cell(0, 1), "No");
    // after the reset a value line opens a row of its own
    d.decoder.smViewData(QStringLiteral("\n01;1;2"));
    EXPECT_EQ(d.grid.rowText(1), "||||01|1|2");
}

TEST(RecordDecoderTitles, JapaneseDegreeTextInTemperatureTitle)
{
    Decoding d(flags(0, 0, 0), 10000, UiVariant::Japanese);
    ASSERT_TRUE(d.decoder.smGetUnit(QStringLiteral("\nm/s;m3/h;Pa;C")));
    d.decoder.smViewData(QStringLiteral("\n1;2;3;4;  VEL"));
    EXPECT_EQ(d.grid.cell(0, 7), QStringLiteral("Temp( ℃ )"));
}
