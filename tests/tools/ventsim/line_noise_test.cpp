// Line noise: bytes read at the wrong rate, and the garbage fault's bytes.
#include "tools/ventsim/line_noise.h"

#include <gtest/gtest.h>

namespace {

TEST(LineNoise, EqualRatesLeaveBytesAlone)
{
    const QByteArray bytes("AP J0012345\r\n");
    EXPECT_EQ(LineNoise::garble(bytes, 19200, 19200), bytes);
}

TEST(LineNoise, HandTracedFrames)
{
    // Sender twice as fast: 0x00 is low for 9 sender bits. The receiver samples its data bits at
    // sender bits 3, 5, 7 (low), 9 (stop, high) and then the idle line: 0b11111000.
    EXPECT_EQ(LineNoise::garble(QByteArray(1, '\0'), 9600, 4800), QByteArray(1, char(0xF8)));
    // Sender half as fast: the start bit lasts two receiver bits, so data bit 0 reads low and the
    // rest read the sender's ones: 0b11111110.
    EXPECT_EQ(LineNoise::garble(QByteArray(1, char(0xFF)), 4800, 9600), QByteArray(1, char(0xFE)));
}

TEST(LineNoise, WrongRateRepliesNeverReadAsAReply)
{
    const QByteArray reply("AP J0012345\r\nVER 1.00\r\n");
    for (const qint32 receiver : {38400, 19200, 9600, 4800}) {
        const QByteArray seen = LineNoise::garble(reply, 57600, receiver);
        EXPECT_NE(seen, reply);
        EXPECT_FALSE(seen.startsWith("AP")) << receiver;
        EXPECT_EQ(seen, LineNoise::garble(reply, 57600, receiver)); // the same every time
    }
}

TEST(LineNoise, GarbageHasNoReplyStartNoDumpEndAndLineBreaks)
{
    QRandomGenerator a(5), b(5);
    const QByteArray g = LineNoise::garbage(a, 2000);
    EXPECT_EQ(g.size(), 2000);
    EXPECT_EQ(g, LineNoise::garbage(b, 2000));
    EXPECT_FALSE(g.contains('A'));
    EXPECT_FALSE(g.contains('/'));
    EXPECT_GE(g.count('\r'), 2000 / 41);
}

} // namespace
