#include "tests/link/core/link_test_support.h"

#include "tests/support/test_support.h"

#include <QFile>

namespace linktest {

const StringTable &table()
{
    static StringTable t;
    if (t.isEmpty())
        t.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv"));
    return t;
}

std::unique_ptr<LinkState> makeState(qint16 offset, UiVariant variant, OptionFlags f)
{
    auto state = std::make_unique<LinkState>();
    state->texts = Texts(&table(), variant);
    state->languageOffset = offset;
    loadLinkStrings(*state);
    state->flags = f;
    return state;
}

OptionFlags flags(int enableAtm, int displayAtm, int saveAtm)
{
    OptionFlags f;
    f.enableAtm = qint16(enableAtm);
    f.displayAtm = qint16(displayAtm);
    f.saveAtm = qint16(saveAtm);
    f.applyInvariant();
    return f;
}

QStringList messages(const venttest::RecordingPresenter &presenter)
{
    QStringList texts;
    for (const auto &shown : presenter.shown)
        if (shown.kind == venttest::RecordingPresenter::Shown::Kind::Notify)
            texts << shown.text;
    return texts;
}

QStringList readCrLfLines(const QString &path, bool *allCrLf)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *allCrLf = false;
        return {};
    }
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    *allCrLf = text.endsWith(QStringLiteral("\r\n"));
    if (*allCrLf)
        lines.removeLast();
    for (const QString &l : lines)
        if (l.contains(QLatin1Char('\n')) || l.contains(QLatin1Char('\r')))
            *allCrLf = false;
    return lines;
}

QStringList readExpected(const QString &name)
{
    QFile file(venttest::sourcePath(QStringLiteral("tests/link/data/") + name));
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing expected file %1>").arg(name)};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace linktest
