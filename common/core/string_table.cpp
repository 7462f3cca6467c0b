#include "common/core/string_table.h"

#include <QFile>
#include <algorithm>

namespace {

QString unescape(const QString &cell)
{
    if (!cell.contains(QLatin1Char('\\')))
        return cell;
    QString out;
    out.reserve(cell.size());
    for (int i = 0; i < cell.size(); ++i) {
        const QChar c = cell.at(i);
        if (c == QLatin1Char('\\') && i + 1 < cell.size()) {
            const QChar n = cell.at(i + 1);
            if (n == QLatin1Char('n')) {
                out += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (n == QLatin1Char('\\')) {
                out += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace

bool StringTable::loadFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    return loadText(file.readAll(), error);
}

bool StringTable::loadText(const QByteArray &utf8, QString *error)
{
    QHash<int, Row> rows;
    const QString all = QString::fromUtf8(utf8);
    const QStringList lines = all.split(QLatin1Char('\n'));
    bool headerSeen = false;
    int lineNo = 0;
    for (QString line : lines) {
        ++lineNo;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (!headerSeen) {
            headerSeen = true;
            if (cells.value(0) == QLatin1String("id"))
                continue;
        }
        bool ok = false;
        const int id = cells.value(0).toInt(&ok);
        if (cells.size() != 4 || !ok || id < 0 || id > 32767 || rows.contains(id)) {
            if (error)
                *error = QStringLiteral("line %1: malformed or duplicate row").arg(lineNo);
            return false;
        }
        rows.insert(id, Row{unescape(cells.at(1)), unescape(cells.at(2)), unescape(cells.at(3))});
    }
    m_rows = std::move(rows);
    return true;
}

std::optional<QString> StringTable::text(int id, UiVariant variant) const
{
    const auto it = m_rows.constFind(id);
    if (it == m_rows.constEnd() || variant == UiVariant::Count)
        return std::nullopt;
    return it->at(static_cast<int>(variant));
}

std::optional<QString> StringTable::lookup(int id, UiVariant uiVariant) const
{
    const auto it = m_rows.constFind(id);
    if (it == m_rows.constEnd())
        return std::nullopt;
    const int v = uiVariant == UiVariant::Count ? 0 : static_cast<int>(uiVariant);
    const QString &chosen = it->at(v);
    // An entry without a variant for this language falls back to English.
    return chosen.isEmpty() ? it->at(0) : chosen;
}

QList<int> StringTable::ids() const
{
    QList<int> out = m_rows.keys();
    std::sort(out.begin(), out.end());
    return out;
}
