#include "common/core/number_format.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

using P = NumberFormat::Precision;

TEST(NumberFormat, PatternsRoundHalvesAwayFromZero)
{
    const struct { double value; const char *pattern, *expected; } cases[] = {
        {1.0, "0.0", "1.0"},          {0.5, "0.0", "0.5"},        {10, "0.0", "10.0"},
        {0.0, "#0.0", "0.0"},         {1, "#0.0", "1.0"},         {9999, "#0.0", "9999.0"},
        {100, "#0.0", "100.0"},       {12.34, "#0.0", "12.3"},    {12.35, "#0.0", "12.4"},
        {0.05, "#0.0", "0.1"},        {1013.2, "####", "1013"},   {1013.6, "####", "1014"},
        {1012.5, "####", "1013"},     {0, "####", ""},            {0.4, "####", ""},
        {0.5, "####", "1"},           {-3.5, "####", "-4"},       {1, "000", "001"},
        {12, "000", "012"},           {1234, "000", "1234"},      {1, "0000", "0001"},
        {100, "0.000", "100.000"},    {100 / 25.4, "0.000", "3.937"},
        {100 / 304.8, "0.000", "0.328"}, {2.26, "####0.0", "2.3"}, {1, "#####0.0", "1.0"},
        {0, "0", "0"},                {2, "0", "2"},              {-0.04, "0.0", "0.0"},
        {999.96, "0.0", "1000.0"},    {0.0004, "0.000", "0.000"}, {0.0005, "0.000", "0.001"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberFormat::format(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
}

TEST(NumberFormat, SinglePrecisionValuesRoundAtSevenDigitsAndOnlyNumbersAreFormatted)
{
    // 0.35f is 0.3499999940...: at 15 digits it rounds down, at 7 digits it is 0.35 and rounds up.
    EXPECT_EQ(NumberFormat::format(0.35f, "0.0", P::Double), "0.3");
    EXPECT_EQ(NumberFormat::format(0.35f, "0.0", P::Single), "0.4");
    EXPECT_EQ(NumberFormat::format(2.26f, "####0.0", P::Single), "2.3");
    EXPECT_EQ(NumberFormat::format(1234.567f, "0.000", P::Single), "1234.567"); // all seven digits
    const char *texts[][3] = {{"Err", "####", "Err"}, {"ATM F", "####", "ATM F"}, {"", "####", ""},
                              {"No", "000", "No"},    {"1013.2", "####", "1013"}, {"0.0", "####", ""},
                              {"7", "000", "007"}};
    for (const auto &t : texts)
        EXPECT_EQ(NumberFormat::formatText(t[0], t[1]), t[2]) << t[0];
}

TEST(NumberFormat, ParseAcceptsOnlyPlainNumbers)
{
    const struct { const char *text; double value; } good[] = {
        {"1.5", 1.5}, {" 2 ", 2}, {"+3", 3},       {"-0.5", -0.5}, {".5", 0.5},
        {"5.", 5},    {"1e3", 1000}, {"1E-2", 0.01}, {"0010", 10},   {"\t7", 7}};
    for (const auto &g : good) {
        const std::optional<double> v = NumberFormat::parse(QString::fromLatin1(g.text));
        ASSERT_TRUE(v.has_value()) << g.text;
        EXPECT_DOUBLE_EQ(*v, g.value) << g.text;
    }
    const char *bad[] = {"", " ", "abc", "1e", "1,5", "0x10", "inf", "nan", "1e400", "--1",
                         "1.2.3", "+", ".", "1 2", "12abc", "١٢"};
    for (const char *b : bad)
        EXPECT_FALSE(NumberFormat::parse(QString::fromUtf8(b)).has_value()) << b;
    EXPECT_FALSE(NumberFormat::parseSingle(QStringLiteral("1e39")).has_value());
    EXPECT_EQ(NumberFormat::parseInt32(QStringLiteral("65500")), 65500);
    EXPECT_EQ(NumberFormat::parseInt32(QStringLiteral("-12")), -12);
    EXPECT_EQ(NumberFormat::parseInt32(QStringLiteral("-2147483648")), -2147483648LL); // ten digits
    EXPECT_FALSE(NumberFormat::parseInt32(QStringLiteral("2147483648")).has_value());
    EXPECT_FALSE(NumberFormat::parseInt32(QStringLiteral("1.0")).has_value());
}

TEST(NumberFormat, RoundedConversionsGoToEvenAndRefuseWhatDoesNotFit)
{
    EXPECT_EQ(NumberFormat::roundToInt32(2.5), 2);  // 5 s range / 2 s interval
    EXPECT_EQ(NumberFormat::roundToInt32(3.5), 4);  // 7 s range / 2 s interval
    EXPECT_EQ(NumberFormat::roundToInt32(-2.5), -2);
    EXPECT_EQ(NumberFormat::roundToInt32(60.0 / 1.0), 60);
    EXPECT_FALSE(NumberFormat::roundToInt32(std::nan("")).has_value());
    EXPECT_FALSE(NumberFormat::roundToInt32(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(NumberFormat::roundToInt32(3e9).has_value());
    EXPECT_EQ(NumberFormat::roundToInt16(32767.4), 32767);
    EXPECT_FALSE(NumberFormat::roundToInt16(32767.6).has_value());
}

TEST(NumberFormat, PlainTextIsShortestWithADot)
{
    QLocale::setDefault(QLocale(QLocale::German)); // a comma locale must change nothing
    const struct { double value; P precision; const char *text; } cases[] = {
        {10, P::Double, "10"},           {0.5, P::Double, "0.5"},         {17662.5, P::Double, "17662.5"},
        {20000, P::Double, "20000"},     {1000000, P::Double, "1000000"}, {-2.25, P::Double, "-2.25"},
        {0.1f, P::Single, "0.1"},        {0.485f, P::Single, "0.485"},    {100.0 * 0.785 * 100.0, P::Double, "7850"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberFormat::plain(c.value, c.precision), c.text) << c.value;
    EXPECT_EQ(NumberFormat::format(1.5, "0.0"), "1.5");
    QLocale::setDefault(QLocale::c());
}

} // namespace
