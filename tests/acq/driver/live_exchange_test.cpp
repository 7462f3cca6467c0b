// The live-reading exchange: reply parsing and line splitting.
#include "acq/driver/live_exchange.h"

#include <gtest/gtest.h>

namespace {

TEST(LiveExchange, ParseReplies)
{
    struct Case { const char *line; bool ok; double velocity; qint32 pressure; int flag; bool known; };
    const Case cases[] = {
        {"AV;3.25;21.5;10132;1", true, 3.25, 10132, 1, true},
        {"AV;0.00;-5.0;9870;2", true, 0.0, 9870, 2, true},
        {"AV;4.10;21.5;0;3", true, 4.10, 0, 3, true}, // sensor error: pressure 0, still known
        {"AV;12.40;21.5;10132;3;extra", true, 12.40, 10132, 3, true},
        {"AV;3.25;21.5; 10132 ; 0 ", true, 3.25, 10132, 0, true},
        // Pressure or flag that are not whole numbers: the reading stands, without pressure.
        {"AV;3.25;21.5;---;1", true, 3.25, 0, 0, false},
        {"AV;3.25;21.5;10132;X", true, 3.25, 0, 0, false},
        {"AV;3.25;21.5;10132;12", true, 3.25, 0, 0, false},
        // Malformed.
        {"AP;3.25;21.5;10132;1", false, 0, 0, 0, false},
        {"av;3.25;21.5;10132;1", false, 0, 0, 0, false},
        {"AV;3.25;21.5;10132", false, 0, 0, 0, false},
        {"AV;abc;21.5;10132;1", false, 0, 0, 0, false},
        {"AV;;21.5;10132;1", false, 0, 0, 0, false},
        {"AV;3,25;21.5;10132;1", false, 0, 0, 0, false},
        // Numbers no air velocity reaches are garbage, not readings (they would show as hundreds
        // of digits, or as "inf" once converted).
        {"AV;1000.01;21.5;10132;1", false, 0, 0, 0, false},
        {"AV;-1e300;21.5;10132;1", false, 0, 0, 0, false},
        {"AV;1000.00;21.5;10132;1", true, 1000.0, 10132, 1, true},
        {"", false, 0, 0, 0, false},
        {"\x01\x02garbage", false, 0, 0, 0, false},
    };
    for (const Case &c : cases) {
        const auto r = LiveExchange::parse(QByteArray(c.line));
        ASSERT_EQ(r.has_value(), c.ok) << c.line;
        if (!r)
            continue;
        EXPECT_EQ(std::tuple(r->velocity, r->pressureTenths, r->flag, r->pressureKnown),
                  std::tuple(c.velocity, c.pressure, c.flag, c.known)) << c.line;
    }
}

TEST(LiveExchange, LinesEndAtCrAndSkipLineEndsBetween)
{
    QByteArray buffer("\nAV;1;2;3;1\r\n\r\nAV;4;5;6;1\rAV;7");
    EXPECT_EQ(LiveExchange::takeLine(&buffer), QByteArray("AV;1;2;3;1"));
    EXPECT_EQ(LiveExchange::takeLine(&buffer), QByteArray("AV;4;5;6;1"));
    EXPECT_FALSE(LiveExchange::takeLine(&buffer));
    EXPECT_EQ(buffer, QByteArray("AV;7")) << "the unfinished line waits for the rest";
    buffer += ";8;9;1\n";
    EXPECT_EQ(LiveExchange::takeLine(&buffer), QByteArray("AV;7;8;9;1"));
    EXPECT_TRUE(buffer.isEmpty());
    buffer = "\r\n\r\n";
    EXPECT_FALSE(LiveExchange::takeLine(&buffer));
    EXPECT_TRUE(buffer.isEmpty());
}

} // namespace
