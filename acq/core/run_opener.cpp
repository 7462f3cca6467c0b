#include "acq/core/run_opener.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/data_saver.h"
#include "acq/core/measurement_params.h"
#include "acq/core/run_controller.h"
#include "common/core/status_codes.h"

#include <QFileInfo>

RunOpener::RunOpener(AppState &state, FileDialog &dialog, DataSaver &saver, RunController &run)
    : m_state(state), m_dialog(dialog), m_saver(saver), m_run(run)
{
}

QVector<FileDialog::Filter> RunOpener::openFilters(const AppState &state)
{
    QVector<FileDialog::Filter> filters = DataSaver::saveFilters(state);
    const QStringList all = state.localText(acqid::kFilterAll).split(QLatin1Char('|'));
    if (all.size() == 2)
        filters.push_back({all.at(0), all.at(1)});
    return filters;
}

QString RunOpener::problemText(const AppState &state, const RunFileReader::Result &result,
                               const QString &path)
{
    QString detail;
    switch (result.problem) {
    case RunFileReader::Problem::None:
        return QString();
    case RunFileReader::Problem::Unreadable:
        detail = describeIoFailure(result.failure, state.texts, state.languageOffset);
        break;
    case RunFileReader::Problem::TooLarge:
        detail = path + QLatin1Char('\n') + state.localText(acqid::kOpenTooLarge);
        break;
    case RunFileReader::Problem::NotARun:
        detail = path + QLatin1Char('\n') + state.localText(acqid::kOpenNotARun);
        break;
    case RunFileReader::Problem::NoSamples:
        detail = path + QLatin1Char('\n') + state.localText(acqid::kOpenNoSamples);
        break;
    case RunFileReader::Problem::DamagedLine:
        detail = path + QLatin1Char('\n')
               + state.localText(acqid::kOpenDamagedLine).arg(result.line);
        break;
    }
    return state.localText(acqid::kOpenFailed).arg(detail);
}

void RunOpener::applyParameters(AppState &state, const RunFile &run)
{
    state.sampleType = run.sampleType;
    state.sampleTime = run.sampleTime;
    state.sampleCount = run.sampleCount;
    MeasurementParams::setVelocityUnit(state, run.velocityUnit);
    state.flowUnit = run.flowUnit;
    state.ductUnit = run.ductUnit;
    state.ductShape = run.ductShape;
    if (run.ductShape == 1) {
        state.ductDiameter = run.ductDiameter;
    } else {
        state.ductWidth = run.ductWidth;
        state.ductHeight = run.ductHeight;
    }
    state.ductArea = run.ductArea;
    state.startTime = run.startTime;
}

bool RunOpener::fOpenDialog(const QString &folder)
{
    const FileDialog::Choice choice = m_dialog.getOpenFileName(folder, openFilters(m_state));
    return !choice.path.isEmpty() && fOpenRun(choice.path);
}

bool RunOpener::fOpenRun(const QString &path)
{
    if (m_state.measuring || m_state.idle != 1)
        return false;
    RunFile run;
    RunFileReader::Result result;
    result.problem = RunFileReader::Problem::NotARun;
    if (const StringTable *table = m_state.texts.table())
        result = RunFileReader(*table).readFile(path, &run);
    if (!result.ok()) {
        sShowErrMsg(m_state, problemText(m_state, result, path));
        return false;
    }

    applyParameters(m_state, run);
    m_state.statusCode = status::kSuccess;

    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_state.openedRunPath = absolute;
    m_state.dataState = 2;
    m_saver.sSetCurrentFile(absolute);
    m_run.sShowRun(run.count, [&run](SampleTable &table, qint32 first, qint32 count) {
        run.fill(table, first, count);
    });
    return true;
}
