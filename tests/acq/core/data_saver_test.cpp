#include "acq/core/data_saver.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"
#include "tests/support/permissions_bind_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using acqtest::readFile;

class DataSaverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        state->presenter = &presenter;
        state->lastDataPath = dir.path() + "/data/VL4402Data.VXD";
        QDir().mkpath(dir.path() + "/data");
        QDir().mkpath(dir.path() + "/out");
        write(state->lastDataPath, "run data\r\n");
        state->dataState = 3;
        state->idle = 1;
        state->currentDir = dir.path() + "/out";
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString out(const QString &name) const { return dir.path() + "/out/" + name; }

    QTemporaryDir dir;
    std::unique_ptr<AppState> state = acqtest::makeState();
    acqtest::RecordingPresenter presenter;
    acqtest::ScriptedFileDialog dialog;
    acqtest::RecordingDisplay view;
    DataSaver saver{*state, dialog, &view};
};

TEST_F(DataSaverTest, SaveDialogOffersBothFiltersAndTheCopyBecomesTheCurrentFile)
{
    EXPECT_EQ(saver.fSaveDialog(state->currentDir), status::kNothingDone);
    EXPECT_EQ(state->dataState, 3) << "a cancelled dialog saves nothing";
    ASSERT_EQ(dialog.lastFilters.size(), 2);
    EXPECT_EQ(std::tuple(dialog.lastFilters[0].description, dialog.lastFilters[0].pattern,
                         dialog.lastFilters[1].pattern),
              std::tuple(QString("Text files(*.CSV)"), QString("*.CSV"), QString("*.TXT")));

    dialog.answers.push_back({out("run1"), 1});
    EXPECT_EQ(saver.fSaveDialog(state->currentDir), status::kAnswerYes);
    EXPECT_EQ(dialog.folders, QStringList(2, dir.path() + "/out"));
    EXPECT_EQ(readFile(out("run1.TXT")), "run data\r\n") << "the selected filter's extension";
    EXPECT_EQ(std::tuple(state->dataState, state->currentFilePath, state->currentFileName,
                         state->currentDir),
              std::tuple(2, out("run1.TXT"), "run1.TXT", dir.path() + "/out/"));
    EXPECT_EQ(view.caption, "Ventolux Data Acquisition Software - run1.TXT");
    EXPECT_TRUE(presenter.shown.isEmpty());
}

TEST_F(DataSaverTest, DecliningTheOverwriteReopensTheDialog)
{
    write(out("old.CSV"), "old");
    const QString longName = out("a-rather-long-file-name-for-the-question.CSV");
    write(longName, "old too");
    dialog.answers.push_back({out("old.CSV"), 0});
    dialog.answers.push_back({longName, 0});
    presenter.answers = {status::kAnswerNo, status::kAnswerYes};
    EXPECT_EQ(saver.fSaveDialog(state->currentDir), status::kAnswerYes);
    EXPECT_EQ(dialog.folders.size(), 2);
    EXPECT_EQ(readFile(out("old.CSV")), "old");
    EXPECT_EQ(readFile(longName), "run data\r\n");
    ASSERT_EQ(presenter.shown.size(), 2);
    const auto &question = presenter.shown[1];
    EXPECT_EQ(std::tuple(question.kind, presenter.lastDefaultNo, question.caption),
              std::tuple(venttest::RecordingPresenter::Shown::Kind::YesNo, true,
                         QString("Ventolux Data Acquisition Software")));
    EXPECT_EQ(question.text, "There is already this following name file.  Do you overwrite ?\n\n..."
                                 + longName.right(27));
}

TEST_F(DataSaverTest, SavingOntoTheDataFileItselfChangesNothing)
{
    presenter.answers = {status::kAnswerNo};
    EXPECT_EQ(saver.fSaveAs(state->lastDataPath), status::kAnswerYes);
    EXPECT_EQ(std::tuple(state->statusCode, state->dataState), std::tuple(status::kSuccess, 2));
    EXPECT_EQ(readFile(state->lastDataPath), "run data\r\n");
    EXPECT_TRUE(presenter.shown.isEmpty()) << "no overwrite question for the file itself";
}

TEST_F(DataSaverTest, FailedCopyKeepsTheOldFileAndIsReportedOnce)
{
    // The copy cannot be read: the existing target must survive the overwrite that failed.
    QFile::remove(state->lastDataPath);
    QDir().mkpath(state->lastDataPath);
    write(out("keep.CSV"), "precious");
    dialog.answers.push_back({out("keep.CSV"), 0});
    presenter.answers = {status::kAnswerYes};
    EXPECT_EQ(saver.fSaveDialog(state->currentDir), status::kNothingDone);
    EXPECT_EQ(readFile(out("keep.CSV")), "precious");
    EXPECT_EQ(QDir(dir.path() + "/out").entryList(QDir::Files), QStringList{"keep.CSV"})
        << "no temporary file is left behind";
    EXPECT_EQ(state->dataState, 3);
    ASSERT_EQ(presenter.texts().size(), 2) << "the overwrite question, then the failure";
    EXPECT_TRUE(presenter.texts()[1].startsWith("The data could not be saved to this file:\n"
                                                + out("keep.CSV") + "\n" + state->lastDataPath))
        << presenter.texts()[1].toStdString();
    EXPECT_EQ(dialog.folders.size(), 1) << "a failure does not reopen the dialog";
}

TEST_F(DataSaverTest, UnwritableFolderIsACopyFailure)
{
    write(out("keep.CSV"), "precious");
    QFile::setPermissions(dir.path() + "/out", QFile::ReadOwner | QFile::ExeOwner);
    presenter.answers = {status::kAnswerYes};
    dialog.answers.push_back({out("new.CSV"), 0});
    {
        venttest::PermissionsBindRoot readOnly;
        if (!readOnly.binds())
            GTEST_SKIP() << "permissions do not stop this user";
        EXPECT_EQ(saver.fSaveAs(out("keep.CSV")), status::kAnswerYes);
        EXPECT_EQ(std::tuple(state->statusCode, state->dataState), std::tuple(14, 3));
        presenter.shown.clear();
        EXPECT_EQ(saver.fSaveDialog(state->currentDir), status::kNothingDone);
    }
    QFile::setPermissions(dir.path() + "/out",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(presenter.texts(), QStringList{"The data could not be saved to this file:\n"
                                             + out("new.CSV") + ": permission denied"});
    EXPECT_EQ(state->dataState, 3);
    EXPECT_EQ(readFile(out("keep.CSV")), "precious");
}

TEST_F(DataSaverTest, AskSaveChangesAnswers)
{
    // saveAs: the save dialog's answer in the output folder (none: cancelled).
    struct Case {
        qint32 dataState; qint16 answer; const char *saveAs; bool removeDataFile; qint16 expected;
        bool asked;
    };
    const Case cases[] = {
        {1, status::kYes, nullptr, false, status::kAnswerYes, false},
        {2, status::kYes, nullptr, false, status::kAnswerYes, false},
        {3, status::kCancel, nullptr, false, status::kCancel, true},
        // Yes, then the save dialog is cancelled: the caller may go on.
        {3, status::kYes, nullptr, false, status::kNothingDone, true},
        {3, status::kYes, "saved.CSV", false, status::kAnswerYes, true},
        // Yes, but the copy failed (no data file): the caller must not go on and destroy the data.
        {3, status::kYes, "failed.CSV", true, status::kCancelled, true},
    };
    for (const Case &c : cases) {
        SetUp();
        acqtest::RecordingPresenter p;
        state->presenter = &p;
        state->dataState = c.dataState;
        p.answers = {c.answer};
        dialog.answers.clear();
        if (c.saveAs)
            dialog.answers.push_back({out(c.saveAs), 0});
        if (c.removeDataFile)
            QFile::remove(state->lastDataPath);
        DataSaver s(*state, dialog, &view);
        SCOPED_TRACE(testing::Message() << "dataState " << c.dataState << " answer " << c.answer);
        EXPECT_EQ(s.fAskSaveChanges(), c.expected);
        ASSERT_EQ(!p.shown.isEmpty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(std::pair(p.shown[0].kind, p.shown[0].text),
                      std::pair(venttest::RecordingPresenter::Shown::Kind::YesNoCancel,
                                QString("Data is not saved.   Do you save it ?")));
        }
    }
}

TEST_F(DataSaverTest, NewDataMakesTheDataFileCurrent)
{
    state->receivedCount = 40;
    saver.sNewData();
    EXPECT_EQ(std::tuple(state->receivedCount, state->dataState, state->currentFileName),
              std::tuple(1, 1, "VL4402Data.VXD"));
    EXPECT_EQ(state->currentFilePath, dir.path() + "/out/VL4402Data.VXD");
    EXPECT_EQ(view.caption, "Ventolux Data Acquisition Software - VL4402Data.VXD");
    EXPECT_TRUE(view.calls.contains("sShowMenuStat") && view.calls.contains("sInitiStatusBar"));

    // During a run the counters and the data state are left alone.
    state->idle = 0;
    state->receivedCount = 40;
    state->dataState = 0;
    saver.sNewData();
    EXPECT_EQ(std::tuple(state->receivedCount, state->dataState), std::tuple(40, 0));
    // ... and so is the caption.
    saver.sSetCurrentFile("/srv/runs/r.CSV");
    EXPECT_EQ(std::tuple(state->currentDir, state->currentFileName, view.caption),
              std::tuple("/srv/runs/", "r.CSV",
                         "Ventolux Data Acquisition Software - VL4402Data.VXD"));
}

TEST(DataSaverExtension, OnlyANameWithoutExtensionGetsTheFilters)
{
    const QVector<FileDialog::Filter> filters = {{"Text files(*.CSV)", "*.CSV"},
                                                 {"Text files(*.TXT)", "*.TXT"}};
    EXPECT_EQ(DataSaver::withExtension({"/a/run", 0}, filters), "/a/run.CSV");
    EXPECT_EQ(DataSaver::withExtension({"/a/run.csv", 1}, filters), "/a/run.csv");
    EXPECT_EQ(DataSaver::withExtension({"/a.b/run", 0}, filters), "/a.b/run.CSV");
    EXPECT_EQ(DataSaver::withExtension({"/a/run", 5}, filters), "/a/run");
}

} // namespace
