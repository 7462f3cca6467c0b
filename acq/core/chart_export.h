#pragma once

#include "acq/core/file_dialog.h"

#include <QString>
#include <QVector>
#include <functional>

struct AppState;

// The "Export Chart..." command without the drawing: the picture types offered, the folder the
// dialog opens in (the last one chosen, kept with the settings), the question before a file is
// replaced and the message when it could not be written.
class ChartExport
{
public:
    enum class Format { Png = 0, Pdf = 1, Svg = 2 };
    // Draws the picture into the file; false when it could not be written.
    using Writer = std::function<bool(const QString &path, Format format)>;

    // PNG, PDF and SVG in the active language, in the order of Format.
    static QVector<FileDialog::Filter> filters(const AppState &state);

    // What a chosen name is written as: a name ending in ".png", ".pdf" or ".svg" (any case) in
    // that format; any other name in the chosen filter's format, with its extension added.
    struct Target
    {
        Format format;
        QString path;
    };
    static Target target(const QString &chosen, int filterIndex);

    // The title line of a picture: when the run on display started.
    static QString title(const AppState &state);

    // The whole command: the dialog, the question before replacing a file, the writing, the
    // message on failure. status::kSuccess after writing, kCancelled when the dialog or the
    // question was declined, kFailure after the message.
    static qint16 run(AppState &state, FileDialog &dialog, const Writer &write);
};
