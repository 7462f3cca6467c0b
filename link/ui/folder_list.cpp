#include "link/ui/folder_list.h"

#include "link/core/drive_list.h"

#include <QCollator>
#include <QDir>
#include <QStyle>

FolderList::FolderList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString target = item->data(kPathRole).toString();
        if (target != m_path && setPath(target, m_root))
            Q_EMIT pathChanged(m_path);
    });
}

bool FolderList::setPath(const QString &path, const QString &root)
{
    const QString clean = QDir::cleanPath(path);
    if (!DriveList::isReadableFolder(clean))
        return false;
    m_path = clean;
    m_root = QDir::cleanPath(root.isEmpty() ? QStringLiteral("/") : root);
    if (!DriveList::isOnDrive(m_path, m_root))
        m_root = DriveList::driveOf(m_path);
    fill();
    return true;
}

void FolderList::refresh()
{
    if (!m_path.isEmpty())
        fill();
}

void FolderList::fill()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QString indentUnit = QStringLiteral("   ");

    // The chain from the drive's root down to the current folder.
    QStringList chain;
    for (QString p = m_path;; p = QDir::cleanPath(p + QStringLiteral("/.."))) {
        chain.prepend(p);
        if (p == m_root || p == QLatin1String("/") || chain.size() > 256)
            break;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = p == QLatin1String("/") ? p : (depth == 0 ? p : QDir(p).dirName());
        auto *item = new QListWidgetItem(open, indentUnit.repeated(depth) + name, this);
        item->setData(kPathRole, p);
        item->setToolTip(p);
        ++depth;
    }
    setCurrentRow(count() - 1);

    QStringList subfolders =
        QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::NoSort);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(subfolders.begin(), subfolders.end(), collator);
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(closed, indentUnit.repeated(depth) + name, this);
        const QString p = m_path == QLatin1String("/") ? m_path + name : m_path + QLatin1Char('/') + name;
        item->setData(kPathRole, p);
        item->setToolTip(p);
    }
}
