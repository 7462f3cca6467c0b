#include "acq/ui/status_panel_box.h"

#include <QEvent>
#include <QLabel>

StatusPanelBox::StatusPanelBox(QWidget *parent) : QWidget(parent), m_label(new QLabel(this))
{
    m_hint = m_label->sizeHint();
    m_minimumHint = m_label->minimumSizeHint();
}

QSize StatusPanelBox::sizeHint() const
{
    return m_label->sizeHint();
}

QSize StatusPanelBox::minimumSizeHint() const
{
    return m_label->minimumSizeHint();
}

bool StatusPanelBox::event(QEvent *event)
{
    // A label whose parent has no layout posts a layout request to it when its text or font
    // changes; a hidden box gets none and checks when it is shown.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        checkHints();
    return QWidget::event(event);
}

void StatusPanelBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_label->setGeometry(rect());
}

void StatusPanelBox::checkHints()
{
    const QSize hint = m_label->sizeHint();
    const QSize minimumHint = m_label->minimumSizeHint();
    if (hint == m_hint && minimumHint == m_minimumHint)
        return;
    m_hint = hint;
    m_minimumHint = minimumHint;
    updateGeometry();
}
