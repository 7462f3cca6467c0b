#include "acq/ui/qt_file_dialog.h"

#include <QFileDialog>

namespace {

QStringList nameFiltersOf(const QVector<FileDialog::Filter> &filters)
{
    QStringList nameFilters;
    for (const FileDialog::Filter &f : filters) {
        // "Text files(*.CSV)" already names its pattern; Qt wants "description (pattern)".
        nameFilters << (f.description.contains(f.pattern) ? f.description
                                                          : f.description + QStringLiteral(" (") + f.pattern + QLatin1Char(')'));
    }
    return nameFilters;
}

// Shows the dialog; the chosen file and the index of the filter it was chosen with, or nothing.
FileDialog::Choice run(QFileDialog &dialog, const QStringList &nameFilters)
{
    FileDialog::Choice choice;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return choice;
    choice.path = dialog.selectedFiles().first();
    choice.filterIndex = qMax(0, nameFilters.indexOf(dialog.selectedNameFilter()));
    return choice;
}

} // namespace

FileDialog::Choice QtFileDialog::getOpenFileName(const QString &folder, const QVector<Filter> &filters)
{
    const QStringList nameFilters = nameFiltersOf(filters);
    QFileDialog dialog(m_owner, QString(), folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters);
    return run(dialog, nameFilters);
}

FileDialog::Choice QtFileDialog::getSaveFileName(const QString &folder, const QVector<Filter> &filters)
{
    const QStringList nameFilters = nameFiltersOf(filters);
    QFileDialog dialog(m_owner, QString(), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog.selectNameFilter(nameFilters.first());
    dialog.selectFile(QString());
    return run(dialog, nameFilters);
}
