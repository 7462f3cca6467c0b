#include "acq/core/chart_export.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/data_saver.h"
#include "common/core/date_days.h"
#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char *const kExtensions[] = {"png", "pdf", "svg"};

} // namespace

QVector<FileDialog::Filter> ChartExport::filters(const AppState &state)
{
    QVector<FileDialog::Filter> out;
    for (int i = 0; i < 3; ++i) {
        const QStringList parts =
            state.localText(acqid::kExportFilterFirst + i).split(QLatin1Char('|'));
        out.push_back({parts.value(0), parts.value(1)});
    }
    return out;
}

ChartExport::Target ChartExport::target(const QString &chosen, int filterIndex)
{
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    for (int i = 0; i < 3; ++i) {
        if (suffix == QLatin1String(kExtensions[i]))
            return {Format(i), chosen};
    }
    const int i = filterIndex >= 0 && filterIndex < 3 ? filterIndex : 0;
    return {Format(i), chosen + QLatin1Char('.') + QLatin1String(kExtensions[i])};
}

QString ChartExport::title(const AppState &state)
{
    return state.localText(acqid::kExportStartTime).arg(DateDays::format(state.startTime));
}

qint16 ChartExport::run(AppState &state, FileDialog &dialog, const Writer &write)
{
    const QString folder = !state.chartExportDir.isEmpty() && QDir(state.chartExportDir).exists()
                               ? state.chartExportDir
                               : state.currentDir;
    const FileDialog::Choice choice = dialog.getSaveFileName(folder, filters(state));
    if (choice.path.isEmpty())
        return status::kCancelled;
    const Target t = target(choice.path, choice.filterIndex);
    state.chartExportDir = QFileInfo(t.path).absolutePath();
    if (QFileInfo::exists(t.path)
        && DataSaver::askOverwrite(state, QDir::toNativeSeparators(t.path)) != status::kAnswerYes)
        return status::kCancelled;
    if (write(t.path, t.format))
        return status::kSuccess;
    if (state.presenter) {
        state.presenter->notify(
            MessagePresenter::Icon::Exclamation, state.appTitle,
            state.localText(acqid::kExportFailed).arg(QDir::toNativeSeparators(t.path)));
    }
    return status::kFailure;
}
