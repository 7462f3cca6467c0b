// A failed save or data-file write names the file and the system's reason, in the interface
// language, rather than a message about something else.
#include "acq/core/data_file.h"
#include "acq/core/data_saver.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"
#include "tests/support/permissions_bind_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SaveFailure, ReadOnlyFolderNamesTheTargetAndTheReasonInEachLanguage)
{
    const struct
    {
        UiVariant variant;
        qint16 offset;
        const char *expected; // the message, %1 = the target
    } cases[] = {
        {UiVariant::English, 0, "The data could not be saved to this file:\n%1: permission denied"},
        {UiVariant::Japanese, 10000, "データをこのファイルに保存できませんでした：\n%1：アクセス権がありません"},
        {UiVariant::Chinese, 10000, "无法将数据保存到此文件：\n%1：权限不足"},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        auto state = acqtest::makeState(c.variant, c.offset);
        acqtest::RecordingPresenter presenter;
        acqtest::ScriptedFileDialog dialog;
        state->presenter = &presenter;
        state->lastDataPath = dir.filePath("VL4402Data.VXD");
        state->dataState = 3;
        QFile data(state->lastDataPath);
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        data.write("run\r\n");
        data.close();
        QDir().mkpath(dir.filePath("ro"));
        QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
        const QString target = dir.filePath("ro/run.CSV");
        dialog.answers.push_back({target, 0});
        DataSaver saver(*state, dialog, nullptr);
        {
            venttest::PermissionsBindRoot readOnly;
            if (!readOnly.binds())
                GTEST_SKIP() << "permissions do not stop this user";
            EXPECT_EQ(saver.fSaveDialog(dir.path()), status::kNothingDone);
        }
        QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(presenter.texts(), QStringList{QString::fromUtf8(c.expected).arg(target)});
        EXPECT_EQ(state->dataState, 3);
    }
}

TEST(SaveFailure, FullDiskStopsTheRunWithThePathAndTheReason)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    auto state = acqtest::makeState();
    SampleTable table;
    table.reset(1);
    decodeSampleText(*state, "1.00,2.0,10132,1", table, 1);
    state->receivedCount = 0;
    IoFailure failure;
    EXPECT_FALSE(fSaveDataVXDFile(*state, table, "/dev/full", 1, 0, &failure));
    EXPECT_EQ(describeIoFailure(failure, state->texts, state->languageOffset),
              "/dev/full: no space left on the disk");
}

} // namespace
