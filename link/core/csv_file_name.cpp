#include "link/core/csv_file_name.h"

#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"
#include "link/core/link_state.h"
#include "link/core/link_status.h"
#include "link/core/record_decoder.h"

#include <QFileInfo>

qint16 CsvFileName::fmCheckName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\\/:*?><|");
    for (QChar c : name) {
        if (forbidden.contains(c))
            return status::kFailure;
    }
    return status::kSuccess;
}

QString CsvFileName::pathFor(const QString &folder, const QString &name)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + name + QStringLiteral(".CSV");
}

qint16 CsvFileName::fmCheckFile(LinkState &state, const QString &folder, QString *name,
                                QString *targetPath)
{
    *name = RecordDecoder::trimSpaces(*name);
    const QString path = pathFor(folder, *name);

    // The existence test comes before the character test.
    if (!name->isEmpty() && QFileInfo::exists(path) && state.presenter) {
        const qint16 answer =
            state.presenter->askYesNo(QLatin1String(LinkState::kApplicationTitle),
                                      state.errorTexts[linkstatus::kOverwriteQuestion], true);
        if (answer != status::kAnswerYes)
            return status::kFailure;
    }
    if (name->isEmpty() || fmCheckName(*name) != status::kSuccess) {
        state.gLinkStatus = linkstatus::kFileName;
        return status::kFailure;
    }
    *targetPath = path;
    return status::kSuccess;
}
