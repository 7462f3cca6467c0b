#include "tests/acq/core/acq_test_support.h"

#include "acq/core/sample_table.h"
#include "common/core/status_codes.h"
#include "tests/support/test_support.h"

#include <QFile>

namespace acqtest {

std::unique_ptr<AppState> makeState(UiVariant variant, qint16 offset)
{
    static StringTable table;
    if (table.isEmpty())
        table.loadFile(venttest::sourcePath("resources/ventacq_strings.tsv"));
    auto state = std::make_unique<AppState>();
    state->texts = Texts(&table, variant);
    state->languageOffset = offset;
    fLoadCommonStrings(*state);
    return state;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray expectedFile(const QString &name)
{
    return readFile(venttest::sourcePath("tests/acq/core/expected/" + name));
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

void RecordingPresenter::notify(Icon icon, const QString &caption, const QString &text)
{
    venttest::RecordingPresenter::notify(icon, caption, text);
    if (whileShown)
        whileShown();
}

qint16 RecordingPresenter::askYesNo(const QString &caption, const QString &text, bool defaultNo)
{
    lastDefaultNo = defaultNo;
    if (whileShown)
        whileShown();
    return venttest::RecordingPresenter::askYesNo(caption, text, defaultNo);
}

qint16 RecordingPresenter::askYesNoCancel(const QString &caption, const QString &text)
{
    if (whileShown)
        whileShown();
    return venttest::RecordingPresenter::askYesNoCancel(caption, text);
}

QStringList RecordingPresenter::texts() const
{
    QStringList out;
    for (const Shown &m : shown)
        out << m.text;
    return out;
}

void RecordingDisplay::smIniGraphDataNum(Panel panel, int seriesCount, int pointsPerSeries)
{
    calls << QString("smIniGraphDataNum%1(%2,%3)").arg(suffix(panel)).arg(seriesCount).arg(pointsPerSeries);
}

void RecordingDisplay::sGraphData(Panel panel, const SampleTable &, int n, double startSecond)
{
    calls << QString("sGraphData%1(%2,%3)").arg(suffix(panel)).arg(n).arg(startSecond);
}

void RecordingDisplay::sGraphShift(Panel panel, int n, double)
{
    calls << QString("sGraphShift%1(%2)").arg(suffix(panel)).arg(n);
}

void RecordingDisplay::clearTablesForRun()
{
    calls << "clearTablesForRun";
    tableRows[0] = tableRows[1] = 0;
    velocityCells.clear();
    flowCells.clear();
}

void RecordingDisplay::sSetWSTableData(const SampleTable &table, int n, double)
{
    calls << QString("sSetWSTableData(%1)").arg(n);
    tableRows[0] += n;
    for (int i = 1; i <= n; ++i)
        velocityCells << table.cell(i, SampleTable::kVelocity);
}

void RecordingDisplay::sSetWCTableData(const SampleTable &table, int n)
{
    calls << QString("sSetWCTableData(%1)").arg(n);
    tableRows[1] += n;
    for (int i = 1; i <= n; ++i)
        flowCells << table.cell(i, SampleTable::kFlow);
}

void RecordingDisplay::sShowGraphMark(Panel panel, bool show)
{
    calls << QString("sShowGraphMark%1(%2)").arg(suffix(panel)).arg(show);
}

void RecordingDisplay::sInitHcrollBar(Panel panel, int cursorRow)
{
    calls << QString("sInitHcrollBar%1(%2)").arg(suffix(panel)).arg(cursorRow);
}

FileDialog::Choice ScriptedFileDialog::getSaveFileName(const QString &folder,
                                                        const QVector<Filter> &filters)
{
    folders << folder;
    lastFilters = filters;
    if (answers.empty())
        return {};
    const Choice c = answers.front();
    answers.pop_front();
    return c;
}

} // namespace acqtest
