#include "acq/core/path_utils.h"

#include <QDir>
#include <QList>

void sSplitPath(QString *folder, QString *name, const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        *folder = QDir::currentPath();
        *name = path;
        return;
    }
    *folder = path.left(slash + 1);
    *name = path.mid(slash + 1);
}

void fJoinPath(const QString &folder, const QString &name, QString *path)
{
    QString f = folder.isEmpty() ? QDir::currentPath() : folder;
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    *path = f + name;
}

qint32 fAnsiLength(const QString &text)
{
    qint32 length = 0;
    for (char32_t c : text.toUcs4())
        length += c < 0x80 ? 1 : 2;
    return length;
}

QString fShortenPath(const QString &text, qint32 maximum)
{
    if (fAnsiLength(text) <= maximum)
        return text;
    // The tail is counted in characters; a character outside the basic plane is never cut.
    const QList<uint> chars = text.toUcs4();
    const qsizetype keep = qBound<qsizetype>(0, qsizetype(maximum) - 3, chars.size());
    const QList<uint> tail = chars.mid(chars.size() - keep);
    return QStringLiteral("...") + QString::fromUcs4(reinterpret_cast<const char32_t *>(tail.constData()), tail.size());
}
