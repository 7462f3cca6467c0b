#pragma once

#include "acq/core/file_dialog.h"

#include <QPointer>
#include <QWidget>

// The save and open dialogs of the platform. Save: starts in the folder with an empty name and the filters, the
// first selected; never asks about overwriting (the save functions ask themselves).
class QtFileDialog : public FileDialog
{
public:
    explicit QtFileDialog(QWidget *owner) : m_owner(owner) {}
    Choice getSaveFileName(const QString &folder, const QVector<Filter> &filters) override;
    Choice getOpenFileName(const QString &folder, const QVector<Filter> &filters) override;

private:
    QPointer<QWidget> m_owner;
};
