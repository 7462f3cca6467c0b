// Why a file or port failed, in words the user can act on, under the program's own message.
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

namespace {

using Reason = IoFailure::Reason;

TEST(IoFailure, SystemErrorsBecomeReasonsAndLinesInEachLanguage)
{
    const struct
    {
        int code;
        Reason reason;
    } codes[] = {{EACCES, Reason::PermissionDenied}, {ENODEV, Reason::NoSuchDevice},
                 {ENOENT, Reason::NoSuchFile},       {EROFS, Reason::ReadOnly},
                 {ENOSPC, Reason::NoSpace},          {EBUSY, Reason::Busy},
                 {EIO, Reason::Other}};
    for (const auto &c : codes) {
        EXPECT_EQ(IoFailure::fromErrno(c.code), c.reason) << c.code;
        // As a Qt device reports it: its own words, then the system's.
        const QString text = "Cannot open /x: " + QString::fromLocal8Bit(std::strerror(c.code));
        EXPECT_EQ(IoFailure::fromSystemText(text), c.reason) << text.toStdString();
    }

    StringTable table;
    ASSERT_TRUE(table.loadFile(venttest::sourcePath("/resources/ventlink_strings.tsv")));
    IoFailure port = IoFailure::forPort("/dev/ttyUSB0", QSerialPort::PermissionError, "Permission denied");
    const QString en = describeIoFailure(port, Texts(&table, UiVariant::English), 0);
    EXPECT_TRUE(en.startsWith("/dev/ttyUSB0: permission denied\n")) << en.toStdString();
    EXPECT_TRUE(en.contains("\"dialout\"") && en.contains("log in again")) << en.toStdString();
    const QString ja = describeIoFailure(port, Texts(&table, UiVariant::Japanese), 10000);
    EXPECT_TRUE(ja.startsWith("/dev/ttyUSB0：アクセス権がありません\n") && ja.contains("dialout"));

    // A file refused for the same reason needs no group; an unknown reason keeps the system's text.
    IoFailure file{"/media/stick/a.CSV", "Read-only file system", Reason::ReadOnly, false};
    EXPECT_EQ(describeIoFailure(file, Texts(&table, UiVariant::Chinese), 10000),
              "/media/stick/a.CSV：只读文件系统");
    IoFailure odd{"/x", "Input/output error", Reason::Other, false};
    EXPECT_EQ(withIoFailure("Save File Error!", odd, Texts(&table, UiVariant::English), 0),
              "Save File Error!\n/x: Input/output error");
    EXPECT_EQ(withIoFailure("Save File Error!", IoFailure(), Texts(&table, UiVariant::English), 0),
              "Save File Error!");
}

TEST(IoFailure, SerialLinkKeepsWhyThePortDidNotOpen)
{
    SerialLink link(LinkSettings::ventlink());
    EXPECT_EQ(link.fRsOpen(QStringLiteral("/dev/ttyVENTNONE9"), 19200, false), SerialLink::kOpenError);
    EXPECT_EQ(link.lastOpenFailure().target, "/dev/ttyVENTNONE9");
    EXPECT_EQ(link.lastOpenFailure().reason, Reason::NoSuchDevice);
    EXPECT_TRUE(link.lastOpenFailure().port);
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
    EXPECT_FALSE(QFile::exists(first.notePath())) << "the note is taken away";
}

} // namespace
