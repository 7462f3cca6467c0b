#pragma once

#include <QListWidget>

// The folder list of the folder browser (FileDir): the folders from the drive's root down to the
// current folder, each indented one step further, then the current folder's subfolders. Activating
// an entry (double click or Enter) makes it the current folder.
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    // Shows `path` (under `root`) as the current folder. False, with nothing changed, when the
    // folder cannot be listed.
    bool setPath(const QString &path, const QString &root);
    const QString &path() const { return m_path; }
    const QString &root() const { return m_root; }
    // Lists the current folder again (folders may have come or gone).
    void refresh();

    static constexpr int kPathRole = Qt::UserRole + 1;

Q_SIGNALS:
    // The current folder changed by the user's choice.
    void pathChanged(const QString &path);

private:
    void fill();

    QString m_path;
    QString m_root;
};
