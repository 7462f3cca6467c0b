#pragma once

#include <QString>
#include <QVector>

// The platform's save and open dialogs as the save and open functions need them, so that they are tested without a
// real dialog. The main window implements it over QFileDialog (its own confirmation of an
// overwrite turned off: the save functions ask themselves).
class FileDialog
{
public:
    struct Filter
    {
        QString description; // "Text files(*.CSV)"
        QString pattern;     // "*.CSV"
    };
    struct Choice
    {
        QString path;        // empty when the dialog was cancelled
        int filterIndex = 0; // the filter selected when it was closed
    };

    virtual ~FileDialog() = default;

    // Shows the dialog in `folder` with an empty file name and the filters, the first selected.
    virtual Choice getSaveFileName(const QString &folder, const QVector<Filter> &filters) = 0;
    // The open dialog: an existing file in `folder`, the filters, the first selected. A dialog
    // that cannot open files answers as cancelled.
    virtual Choice getOpenFileName(const QString &folder, const QVector<Filter> &filters)
    {
        Q_UNUSED(folder);
        Q_UNUSED(filters);
        return {};
    }
};
