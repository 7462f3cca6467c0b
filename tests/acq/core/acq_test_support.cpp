#include "tests/acq/core/acq_test_support.h"

#include "acq/core/sample_table.h"
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
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray expectedFile(const QString &name)
{
    return readFile(venttest::sourcePath("tests/acq/core/expected/" + name));
}

QStringList RecordingPresenter::texts() const
{
    QStringList out;
    for (const Shown &m : shown)
        out << m.text;
    return out;
}

void RecordingDisplay::clearTablesForRun()
{
    calls << "clearTablesForRun";
    velocityCells.clear();
    flowCells.clear();
}

void RecordingDisplay::sSetWSTableData(const SampleTable &table, int n, double)
{
    calls << QString("sSetWSTableData(%1)").arg(n);
    for (int i = 1; i <= n; ++i)
        velocityCells << table.cell(i, SampleTable::kVelocity);
}

void RecordingDisplay::sSetWCTableData(const SampleTable &table, int n)
{
    calls << QString("sSetWCTableData(%1)").arg(n);
    for (int i = 1; i <= n; ++i)
        flowCells << table.cell(i, SampleTable::kFlow);
}

} // namespace acqtest
