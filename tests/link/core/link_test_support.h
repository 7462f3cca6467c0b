#pragma once

#include "tests/support/recording_presenter.h"
#include "link/core/download_view.h"
#include "link/core/link_state.h"

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
const StringTable &table();

// A LinkState as ventlink's start-up leaves it: texts loaded for the given language offset and
// variant, option flags as given.
std::unique_ptr<LinkState> makeState(qint16 offset = 0, UiVariant variant = UiVariant::English,
                                     OptionFlags flags = OptionFlags());

OptionFlags flags(int enableAtm, int displayAtm, int saveAtm);

// What a download showed through the shared recording presenter: the texts of its messages.
QStringList messages(const venttest::RecordingPresenter &presenter);

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

// Lines of a text file with its CR LF line ends checked: every line must end with CR LF.
QStringList readCrLfLines(const QString &path, bool *allCrLf);
QStringList readExpected(const QString &name);

} // namespace linktest
