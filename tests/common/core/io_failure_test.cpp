// Why a file or port failed, in words the user can act on, under the program's own message; and
// a refused second start that brings the running copy forward.
#include "common/core/io_failure.h"
#include "common/core/serial_link.h"
#include "common/core/single_instance.h"
#include "common/core/string_table.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

using Reason = IoFailure::Reason;

TEST(IoFailure, SystemErrorsBecomeReasonsAndLinesInEachLanguage)
{
    for (const auto &[code, reason] : {std::pair{EACCES, Reason::PermissionDenied}, {ENODEV, Reason::NoSuchDevice},
                                       {ENOENT, Reason::NoSuchFile}, {EROFS, Reason::ReadOnly},
                                       {ENOSPC, Reason::NoSpace}, {EBUSY, Reason::Busy}, {EIO, Reason::Other}}) {
        // As a Qt device reports it: its own words, then the system's.
        EXPECT_EQ(IoFailure::fromSystemText("Cannot open /x: " + QString::fromLocal8Bit(std::strerror(code))), reason)
            << code;
    }
    StringTable table;
    ASSERT_TRUE(table.loadFile(venttest::sourcePath("/resources/ventlink_strings.tsv")));
    const Texts en(&table, UiVariant::English), zh(&table, UiVariant::Chinese);
    const IoFailure port = IoFailure::forPort("/dev/ttyUSB0", QSerialPort::PermissionError, "Permission denied");
    // A port needs the group; a file does not; an unknown reason keeps the system's own words; a
    // port another program holds is busy, not a matter of groups.
    const struct { IoFailure failure; const Texts &texts; int offset; QString line; } cases[] = {
        {port, en, 0, "/dev/ttyUSB0: permission denied\n" + en.value(967)},
        {{"/m/a.CSV", "", Reason::ReadOnly, false}, zh, 10000, "/m/a.CSV：只读文件系统"},
        {{"/x", "Input/output error", Reason::Other, false}, en, 0, "/x: Input/output error"},
        {IoFailure::forPort("/dev/ttyUSB0", QSerialPort::PermissionError, "Permission error while locking the device"),
         en, 0, "/dev/ttyUSB0: the device is in use"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(describeIoFailure(c.failure, c.texts, c.offset), c.line);
    EXPECT_EQ(withIoFailure("Rs232c open error !", port, en, 0), "Rs232c open error !\n" + cases[0].line);

    SerialLink link(LinkSettings::ventlink());
    EXPECT_EQ(link.fRsOpen(QStringLiteral("/dev/ttyVENTNONE9"), 19200, false), SerialLink::kOpenError);
    EXPECT_EQ(link.lastOpenFailure().target, "/dev/ttyVENTNONE9");
    EXPECT_EQ(link.lastOpenFailure().reason, Reason::NoSuchDevice);
}

TEST(SecondStart, TheRefusedCopyAsksTheRunningOneToComeForward)
{
    SingleInstance first(QStringLiteral("venttest-raise"));
    ASSERT_TRUE(first.tryAcquire());
    int raised = 0;
    first.onRaiseRequest([&raised] { ++raised; });
    SingleInstance second(QStringLiteral("venttest-raise"));
    EXPECT_FALSE(second.tryAcquire());
    second.askRunningToRaise();
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }, 10000));
    EXPECT_FALSE(QFile::exists(first.notePath()));
}
