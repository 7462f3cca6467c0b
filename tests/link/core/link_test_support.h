#pragma once

#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"
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

// Records what would have been shown and answers questions as told.
class RecordingPresenter : public MessagePresenter
{
public:
    void notify(Icon, const QString &, const QString &text) override { messages << text; }
    qint16 askYesNo(const QString &, const QString &text, bool) override
    {
        questions << text;
        return answer;
    }
    qint16 askYesNoCancel(const QString &, const QString &) override { return status::kCancel; }

    QStringList messages;
    QStringList questions;
    qint16 answer = status::kAnswerYes;
};

// Lines of a text file with its CR LF line ends checked: every line must end with CR LF.
QStringList readCrLfLines(const QString &path, bool *allCrLf);
QStringList readExpected(const QString &name);

} // namespace linktest
