// A save into a read-only folder names the target and the system's reason in the interface
// language, not a message about something else.
#include "acq/core/data_saver.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"
#include "tests/support/permissions_bind_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SaveFailure, ReadOnlyFolderNamesTheTargetAndTheReason)
{
    for (const auto &[variant, expected] : {std::pair{UiVariant::English, "The data could not be saved to this file:\n%1: permission denied"},
                                            std::pair{UiVariant::Chinese, "无法将数据保存到此文件：\n%1：权限不足"}}) {
        QTemporaryDir dir;
        auto state = acqtest::makeState(variant, variant == UiVariant::English ? 0 : 10000);
        acqtest::RecordingPresenter presenter;
        acqtest::ScriptedFileDialog dialog;
        state->presenter = &presenter;
        state->lastDataPath = dir.filePath("VL4402Data.VXD");
        state->dataState = 3;
        QFile data(state->lastDataPath);
        ASSERT_TRUE(data.open(QIODevice::WriteOnly) && data.write("run\r\n") == 5);
        data.close();
        ASSERT_TRUE(QDir().mkpath(dir.filePath("ro")));
        QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
        dialog.answers.push_back({dir.filePath("ro/run.CSV"), 0});
        DataSaver saver(*state, dialog, nullptr);
        {
            venttest::PermissionsBindRoot readOnly;
            if (!readOnly.binds())
                GTEST_SKIP() << "permissions do not stop this user";
            EXPECT_EQ(saver.fSaveDialog(dir.path()), status::kNothingDone);
        }
        QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(presenter.texts(), QStringList{QString::fromUtf8(expected).arg(dir.filePath("ro/run.CSV"))});
        EXPECT_EQ(state->dataState, 3);
    }
}
