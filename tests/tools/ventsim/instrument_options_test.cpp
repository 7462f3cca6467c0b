// The command line of ventsim.
#include "tools/ventsim/instrument_options.h"

#include <gtest/gtest.h>

namespace {

using Fault = InstrumentOptions::Fault;
using LineEnd = InstrumentOptions::LineEnd;

std::optional<InstrumentOptions> parse(const QStringList &args, QString *error = nullptr)
{
    QString e;
    return InstrumentOptions::parse(args, error ? error : &e);
}

TEST(InstrumentOptions, EveryOptionIsRead)
{
    const auto o = parse({"--baud", "4800", "--serial", "C7654321", "--link", "/tmp/x",
                          "--no-register", "--records", "10000", "--atm", "off", "--line-end",
                          "cr", "--ah-lines", "3", "--fault", "stop-mid-dump", "--fault-after",
                          "5", "--seed=42", "--registry", "/tmp/reg"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->baud, 4800);
    EXPECT_EQ(o->serial, "C7654321");
    EXPECT_EQ(o->linkPath, "/tmp/x");
    EXPECT_FALSE(o->registerBridge);
    EXPECT_EQ(o->records, "10000");
    EXPECT_FALSE(o->atm);
    EXPECT_EQ(o->lineEnd, LineEnd::Cr);
    EXPECT_EQ(o->ahLines, 3);
    EXPECT_EQ(o->fault, Fault::StopMidDump);
    EXPECT_EQ(o->faultAfter, 5);
    EXPECT_EQ(o->seed, 42u);
    EXPECT_EQ(o->registryFolder, "/tmp/reg");
}

TEST(InstrumentOptions, EveryFaultHasItsName)
{
    const struct { const char *name; Fault fault; } cases[] = {
        {"silent", Fault::Silent},           {"garbage", Fault::Garbage},
        {"stop-mid-dump", Fault::StopMidDump}, {"unplug-mid-dump", Fault::UnplugMidDump},
        {"leading-lf", Fault::LeadingLf},    {"wrong-baud", Fault::WrongBaud},
    };
    for (const auto &c : cases) {
        const auto o = parse({"--fault", c.name});
        ASSERT_TRUE(o) << c.name;
        EXPECT_EQ(o->fault, c.fault) << c.name;
    }
}

TEST(InstrumentOptions, BadValuesAreRefusedWithAReason)
{
    const QStringList bad[] = {
        {"--baud", "57600"}, {"--baud", "fast"}, {"--baud"},          {"--atm", "yes"},
        {"--line-end", "lf"}, {"--ah-lines", "-1"}, {"--ah-lines", "100"}, {"--fault", "fire"},
        {"--seed", "-3"},    {"--serial", ""},     {"--serial", "J 1\t2"}, {"--records", ""},
        {"--frobnicate"},    {"stray"},
    };
    for (const QStringList &args : bad) {
        QString error;
        EXPECT_FALSE(parse(args, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << args.join(' ').toStdString();
    }
}

} // namespace
