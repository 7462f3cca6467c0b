#include "acq/core/data_saver.h"

#include "acq/core/app_state.h"
#include "acq/core/path_utils.h"
#include "acq/core/run_display.h"
#include "acq/core/status_report.h"
#include "common/core/durable_file.h"
#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

DataSaver::DataSaver(AppState &state, FileDialog &dialog, RunStatusView *view)
    : m_state(state), m_dialog(dialog), m_view(view)
{
}

QVector<FileDialog::Filter> DataSaver::saveFilters(const AppState &state)
{
    const QStringList parts = (state.fileFilters[0] + QLatin1Char('|') + state.fileFilters[1])
                                  .split(QLatin1Char('|'));
    QVector<FileDialog::Filter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts.at(i), parts.at(i + 1)});
    return filters;
}

QString DataSaver::withExtension(const FileDialog::Choice &choice,
                                 const QVector<FileDialog::Filter> &filters)
{
    QString folder;
    QString name;
    sSplitPath(&folder, &name, choice.path);
    if (name.contains(QLatin1Char('.')) || choice.filterIndex < 0
        || choice.filterIndex >= filters.size())
        return choice.path;
    const QString pattern = filters.at(choice.filterIndex).pattern; // "*.CSV"
    if (!pattern.startsWith(QLatin1String("*.")))
        return choice.path;
    return choice.path + pattern.mid(1);
}

QString DataSaver::saveSource(const AppState &state)
{
    return state.openedRunPath.isEmpty() ? state.lastDataPath : state.openedRunPath;
}

bool DataSaver::saveAvailable(const AppState &state)
{
    return state.dataState == 3 || (state.dataState == 2 && !state.openedRunPath.isEmpty());
}

qint16 DataSaver::fAskSaveChanges()
{
    if (m_state.dataState != 3)
        return status::kAnswerYes;
    m_state.messageText = m_state.msgNotSaved;
    m_state.statusCode = m_state.presenter
        ? m_state.presenter->askYesNoCancel(m_state.appTitle, m_state.messageText)
        : status::kCancel;
    if (m_state.statusCode != status::kYes)
        return m_state.statusCode;
    switch (runSaveDialog(m_state.currentDir)) {
    case Outcome::Saved: return status::kAnswerYes;
    case Outcome::Cancelled: return status::kNothingDone;
    case Outcome::Failed: return status::kCancelled;
    }
    return status::kCancelled;
}

qint16 DataSaver::fSaveDialog(const QString &folder)
{
    return runSaveDialog(folder) == Outcome::Saved ? status::kAnswerYes : status::kNothingDone;
}

DataSaver::Outcome DataSaver::runSaveDialog(const QString &folder)
{
    const QVector<FileDialog::Filter> filters = saveFilters(m_state);
    for (;;) {
        const FileDialog::Choice choice = m_dialog.getSaveFileName(folder, filters);
        if (choice.path.isEmpty())
            return Outcome::Cancelled;
        const QString target = withExtension(choice, filters);
        const qint16 r = fSaveAs(target);
        if (m_state.statusCode != status::kSuccess) {
            // A failed copy names the target and the system's reason (and the data file when it
            // was the one that could not be read).
            if (m_state.statusCode == runstatus::kFileError && m_failure.isSet()) {
                QString where = describeIoFailure(m_failure, m_state.texts, m_state.languageOffset);
                if (m_failure.target != target)
                    where = target + QLatin1Char('\n') + where;
                sShowErrMsg(m_state, m_state.localText(kSaveFailedMessage).arg(where));
            } else {
                sShowErrMsg(m_state, m_state.statusCode);
            }
            return Outcome::Failed;
        }
        if (r != status::kAnswerNo)
            return r == status::kAnswerYes ? Outcome::Saved : Outcome::Cancelled;
    }
}

qint16 DataSaver::fSaveAs(const QString &path)
{
    const qint16 r = fCopyDataFile(path);
    if (r == status::kAnswerYes && m_state.statusCode == status::kSuccess) {
        m_state.dataState = 2;
        sSetCurrentFile(path);
    }
    return r;
}

qint16 DataSaver::fCopyDataFile(const QString &path)
{
    m_state.statusCode = status::kSuccess;
    m_failure = IoFailure();
    const QFileInfo target(path);
    const QString sourcePath = saveSource(m_state);
    const QFileInfo source(sourcePath);
    // Saving onto the data file itself: it is already there.
    if (target.exists() && source.exists()
        && target.canonicalFilePath() == source.canonicalFilePath())
        return status::kAnswerYes;
    if (target.exists()) {
        const qint16 answer = fAskOverwrite(fShortenPath(path, kOverwriteNameLength));
        if (answer != status::kAnswerYes)
            return answer;
    }
    if (!copyOver(sourcePath, path))
        m_state.statusCode = runstatus::kFileError;
    return status::kAnswerYes;
}

bool DataSaver::copyOver(const QString &sourcePath, const QString &targetPath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        m_failure = IoFailure::forFile(sourcePath, source);
        return false;
    }
    QSaveFile target(targetPath);
    auto failed = [&](const QFileDevice &device, const QString &path) {
        m_failure = IoFailure::forFile(path, device);
        target.cancelWriting();
        return false;
    };
    if (!target.open(QIODevice::WriteOnly))
        return failed(target, targetPath);
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0)
            return failed(source, sourcePath);
        if (got == 0)
            break;
        if (target.write(buffer, got) != got)
            return failed(target, targetPath);
    }
    if (!DurableFile::commit(target)) {
        m_failure = IoFailure::forFile(targetPath, target);
        return false;
    }
    return true;
}

qint16 DataSaver::fAskOverwrite(const QString &name)
{
    return askOverwrite(m_state, name);
}

qint16 DataSaver::askOverwrite(const AppState &state, const QString &name)
{
    if (!state.presenter)
        return status::kAnswerNo;
    const QString text = state.msgOverwrite + QStringLiteral("\n\n") + name;
    return state.presenter->askYesNo(state.appTitle, text, true) == status::kAnswerYes
        ? status::kAnswerYes
        : status::kAnswerNo;
}

void DataSaver::sNewData()
{
    if (m_state.idle == 1) {
        m_state.receivedCount = 1;
        m_state.dataState = 1;
    }
    m_state.openedRunPath.clear();
    m_state.currentFileName = QLatin1String(kDataFileName);
    fJoinPath(m_state.currentDir, m_state.currentFileName, &m_state.currentFilePath);
    if (m_view) {
        m_view->setCaption(m_state.appTitle + QStringLiteral(" - ") + m_state.currentFileName);
        m_view->sShowMenuStat();
        m_view->sInitiStatusBar();
    }
}

void DataSaver::sSetCurrentFile(const QString &path)
{
    m_state.currentFilePath = path;
    sSplitPath(&m_state.currentDir, &m_state.currentFileName, path);
    if (m_state.idle != 0 && m_view)
        m_view->setCaption(m_state.appTitle + QStringLiteral(" - ") + m_state.currentFileName);
}
