#pragma once

#include "link/core/download_view.h"
#include "link/core/link_state.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <memory>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace linktest {

// The program's own string table (compiled into linkcore).
inline const StringTable &table()
{
    static StringTable t;
    if (t.isEmpty())
        t.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv"));
    return t;
}

// A LinkState as ventlink's start-up leaves it: texts loaded for the given language offset and
// variant, option flags as given.
inline std::unique_ptr<LinkState> makeState(qint16 offset = 0, UiVariant variant = UiVariant::English,
                                            OptionFlags flags = OptionFlags())
{
    auto state = std::make_unique<LinkState>();
    state->texts = Texts(&table(), variant);
    state->languageOffset = offset;
    loadLinkStrings(*state);
    state->flags = flags;
    return state;
}

inline OptionFlags flags(int enableAtm, int displayAtm, int saveAtm)
{
    OptionFlags f;
    f.enableAtm = qint16(enableAtm);
    f.displayAtm = qint16(displayAtm);
    f.saveAtm = qint16(saveAtm);
    f.applyInvariant();
    return f;
}

// What a download showed through the shared recording presenter: the texts of its messages.
inline QStringList messages(const venttest::RecordingPresenter &presenter)
{
    QStringList texts;
    for (const auto &shown : presenter.shown)
        if (shown.kind == venttest::RecordingPresenter::Shown::Kind::Notify)
            texts << shown.text;
    return texts;
}

// The lines of a text file whose every line must end with CR LF (*allCrLf tells whether they do).
inline QStringList readCrLfLines(const QString &path, bool *allCrLf)
{
    QFile file(path);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    QStringList lines = text.split(QStringLiteral("\r\n"));
    *allCrLf = lines.takeLast().isEmpty() && !text.isEmpty()
               && !lines.join(QString()).contains(QRegularExpression(QStringLiteral("[\r\n]")));
    return lines;
}

// A hand-written file of tests/link/data, line by line.
inline QStringList readExpected(const QString &name)
{
    QFile file(venttest::sourcePath(QStringLiteral("tests/link/data/") + name));
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing expected file %1>").arg(name)};
    QStringList lines = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

using venttest::RecordingPresenter;

// A main window as a download sees it: answers as told and records what it was told.
class ScriptedView : public DownloadView
{
public:
    bool reselectDrive() override { return driveOk; }
    void setDownloading(bool d) override
    {
        downloading = d;
        transitions << (d ? "busy" : "idle");
    }
    void setStatusLine(const QString &t) override { status = t; }
    QString fileNameText() const override { return fileName; }
    void setFileNameText(const QString &t) override { fileName = t; }
    QString folderPath() const override { return folder; }
    QString chosenInstrument() const override { return instrument; }
    void sFileList() override { ++fileLists; }

    bool driveOk = true;
    bool downloading = false;
    QStringList transitions;
    QString status;
    QString fileName = QStringLiteral("run");
    QString folder;
    QString instrument = QStringLiteral("0012345");
    int fileLists = 0;
};

} // namespace linktest
