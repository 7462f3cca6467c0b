#include "link/core/csv_reader.h"

#include "common/core/io_failure.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"
#include "link/core/link_state.h"
#include "link/core/link_status.h"
#include "link/core/link_string_ids.h"
#include "link/core/record_decoder.h"
#include "link/core/record_grid.h"

#include <QFile>

CsvReader::CsvReader(LinkState &state, RecordGrid &grid) : m_state(state), m_grid(grid) {}

qint16 CsvReader::fmInputData(const QString &line, int row)
{
    GridRedrawPause pause(m_grid);
    if (m_state.flags.saveAtmosphere() == false) {
        qsizetype from = 0;
        for (int c = 1; c <= 7; ++c) {
            const qsizetype comma = line.indexOf(QLatin1Char(','), from);
            QString text;
            if (comma >= 0) {
                text = line.mid(from, comma - from);
                from = comma + 1;
            } else {
                text = line.mid(from);
            }
            if (c == 1 || c == 5)
                text = NumberFormat::formatText(text, QStringLiteral("000"));
            m_grid.setCell(row, c, text);
        }
        return status::kSuccess;
    }

    QList<QStringView> fields = QStringView(line).split(QLatin1Char(','));
    if (fields.size() == 8)
        fields << QStringView(u"0");
    const int used = fields.size() >= 8 ? 9 : int(fields.size());
    auto formatted = [](QStringView field, const QString &pattern) {
        const std::optional<double> v = NumberFormat::parse(field);
        return v ? NumberFormat::format(*v, pattern) : field.toString();
    };
    static const QString k0000 = QStringLiteral("0000");
    static const QString kWhole = QStringLiteral("####");
    for (int k = 1; k <= used; ++k) {
        const QStringView field = fields.at(k - 1);
        if (k == 1 || k == 5) {
            m_grid.setCell(row, k, formatted(field, k0000));
        } else if (k == 8) {
            const QStringView flagField = fields.at(8);
            const QStringView flag = RecordDecoder::trimSpaces(flagField);
            const QString whole = formatted(field, kWhole);
            // A flag holding "F" is the title row ("ATM F"): its titles pass unchanged.
            if (flag == u"1" || flag == u"2" || flagField.contains(QLatin1Char('F')))
                m_grid.setCell(row, 8, whole, RecordGrid::Style::Number);
            else if (flag == u"3")
                m_grid.setCell(row, 8, m_state.texts.value(linkid::kFixedAtmError),
                               RecordGrid::Style::Number);
            else if (!field.isEmpty() && !flagField.isEmpty())
                m_grid.setCell(row, 8,
                               m_state.texts.value(m_state.languageOffset != 0
                                                       ? linkid::kFixedAtmNoneLocal
                                                       : linkid::kFixedAtmNone),
                               RecordGrid::Style::Marker);
            else
                m_grid.setCell(row, 8, QString());
            m_grid.setCell(row, 9, whole);
            m_grid.setCell(row, 10, flagField.toString());
        } else if (k == 9) {
            // The flag went into column 10 with the pressure; column 9 keeps the pressure.
        } else {
            m_grid.setCell(row, k, field.toString());
        }
    }
    return status::kSuccess;
}

qsizetype CsvReader::quantityField(const QString &titleLine) const
{
    const QString title = m_state.texts.value(linkid::kFixedQuantity);
    const QStringList fields = titleLine.split(QLatin1Char(','));
    // Never one of the seven columns every file has.
    for (qsizetype k = 7; k < fields.size(); ++k) {
        if (fields.at(k) == title)
            return k;
    }
    return -1;
}

bool CsvReader::splitFile(const QByteArray &content, QStringList *dataLines)
{
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    // A file ending with a line end leaves an empty last piece, which is not a line.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    if (lines.size() < 3)
        return false;
    if (lines.at(0) != QLatin1String(LinkState::kApplicationTitle))
        return false;
    if (!lines.at(1).startsWith(QLatin1String("Date")))
        return false;
    dataLines->clear();
    dataLines->reserve(lines.size() - 3);
    for (qsizetype i = 3; i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            dataLines->append(lines.at(i));
    }
    return true;
}

qint16 CsvReader::readFile(const QString &path)
{
    QStringList lines;
    QFile file(path);
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        const QByteArray content = file.readAll();
        ok = file.error() == QFileDevice::NoError && splitFile(content, &lines);
        file.close();
    }
    // A file that could not be opened or read is named with the system's reason; one that was
    // read but is not ours keeps the plain message.
    if (file.error() != QFileDevice::NoError)
        m_state.statusDetail = describeIoFailure(IoFailure::forFile(path, file), m_state.texts,
                                                 m_state.languageOffset);
    if (!ok) {
        if (m_grid.rowCount() < 2)
            m_grid.setRowCount(1);
        m_state.gLinkStatus = linkstatus::kReadFile;
        return linkstatus::kReadFile;
    }

    GridRedrawPause pause(m_grid);
    // One row per data line after the titles, and one empty row after the last.
    m_grid.setRowCount(int(lines.size()));
    const qsizetype quantity = lines.isEmpty() ? -1 : quantityField(lines.first());
    RecordDecoder::setQuantityColumn(m_state, m_grid, quantity >= 0);
    for (int i = 0; i < lines.size(); ++i) {
        if (quantity < 0) {
            fmInputData(lines.at(i), i);
            continue;
        }
        QStringList fields = lines.at(i).split(QLatin1Char(','));
        const QString text = quantity < fields.size() ? fields.takeAt(quantity) : QString();
        fmInputData(fields.join(QLatin1Char(',')), i);
        m_grid.setCell(i, RecordDecoder::kQuantityColumn, text);
    }
    return status::kSuccess;
}
