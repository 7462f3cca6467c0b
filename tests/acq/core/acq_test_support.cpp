#include "tests/acq/core/acq_test_support.h"

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

} // namespace acqtest
