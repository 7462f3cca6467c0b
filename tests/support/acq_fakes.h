#pragma once

#include "acq/core/connection_probe.h"
#include "acq/core/file_dialog.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace venttest {

// ventacq's connection probe for tests: records the port it was asked about, runs `during` while
// it "probes" (as the real probe's event loop would) and answers `result`.
class FakeProbe : public ConnectionProbe
{
public:
    Result autoConnect(qint16 portNumber, const QString &portPath) override
    {
        ++calls;
        lastPort = portNumber;
        lastPath = portPath;
        if (during)
            during();
        return result;
    }
    Result result{-10000, 19200};
    int calls = 0;
    qint16 lastPort = 0;
    QString lastPath;
    std::function<void()> during;
};

// A save dialog that hands out prepared answers (none left: cancelled) and records where it opened.
class ScriptedFileDialog : public FileDialog
{
public:
    Choice getSaveFileName(const QString &folder, const QVector<Filter> &filters) override
    {
        folders << folder;
        lastFilters = filters;
        if (answers.empty())
            return {};
        const Choice c = answers.front();
        answers.pop_front();
        return c;
    }
    std::deque<Choice> answers;
    QStringList folders;
    QVector<Filter> lastFilters;
};

} // namespace venttest
