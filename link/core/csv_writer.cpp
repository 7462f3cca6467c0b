#include "link/core/csv_writer.h"

#include "common/core/durable_file.h"
#include "common/core/io_failure.h"
#include "common/core/status_codes.h"
#include "link/core/link_state.h"
#include "link/core/link_status.h"
#include "link/core/record_decoder.h"
#include "link/core/record_grid.h"

#include <QSaveFile>

QString CsvWriter::dateLine(const QDateTime &now)
{
    return QStringLiteral("Date,") + now.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString CsvWriter::smGetSaveData(const LinkState &state, const RecordGrid &grid, int row)
{
    QString line;
    for (int c = 1; c <= 7; ++c)
        line += grid.cell(row, c) + QLatin1Char(',');
    if (state.flags.saveAtmosphere()) {
        line += grid.cell(row, 9) + QLatin1Char(',');
        line += grid.cell(row, 10) + QLatin1Char(',');
    }
    if (RecordDecoder::hasQuantityColumn(grid))
        line += grid.cell(row, RecordDecoder::kQuantityColumn) + QLatin1Char(',');
    return line;
}

qint16 CsvWriter::smSaveData(LinkState &state, const RecordGrid &grid, const QString &path,
                             const QDateTime &now, QString *error)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        QByteArray chunk;
        chunk.reserve(1 << 16);
        auto put = [&](const QString &line) {
            chunk += line.toUtf8();
            chunk += "\r\n";
            if (chunk.size() >= (1 << 16)) {
                ok = ok && file.write(chunk) == chunk.size();
                chunk.clear();
            }
        };
        put(QLatin1String(LinkState::kApplicationTitle));
        put(dateLine(now));
        put(QString());
        for (int row = 0; row <= grid.rowCount() && ok; ++row)
            put(smGetSaveData(state, grid, row));
        if (ok && !chunk.isEmpty())
            ok = file.write(chunk) == chunk.size();
        ok = ok && DurableFile::commit(file);
    }
    if (!ok) {
        if (error)
            *error = file.errorString();
        state.statusDetail = describeIoFailure(IoFailure::forFile(path, file), state.texts,
                                               state.languageOffset);
        file.cancelWriting();
        state.gLinkStatus = linkstatus::kSaveFile;
        return linkstatus::kSaveFile;
    }
    return status::kSuccess;
}
