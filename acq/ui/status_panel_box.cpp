#include "acq/ui/status_panel_box.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>

StatusPanelBox::StatusPanelBox(QWidget *parent) : QWidget(parent), m_label(new QLabel(this))
{
    m_hint = m_label->sizeHint();
    m_minimumHint = m_label->minimumSizeHint();
    m_measuredText = m_label->text();
    noteLooks(looks());
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

StatusPanelBox::Looks StatusPanelBox::looks() const
{
    return Looks{m_label->font(),   m_label->contentsMargins(), m_label->frameWidth(),
                 m_label->margin(), m_label->indent(),          m_label->wordWrap()};
}

bool StatusPanelBox::sameRoomAsMeasured() const
{
    if (!m_evenDigits)
        return false;
    const QString text = m_label->text();
    // An unchanged text means something else asked for the new layout.
    if (text.size() != m_measuredText.size() || text == m_measuredText)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar a = text.at(i);
        const QChar b = m_measuredText.at(i);
        const bool digits = a >= QLatin1Char('0') && a <= QLatin1Char('9')
                            && b >= QLatin1Char('0') && b <= QLatin1Char('9');
        if (a != b && !digits)
            return false;
    }
    return looks() == m_measuredLooks;
}

void StatusPanelBox::noteLooks(const Looks &now)
{
    const QFontMetricsF metrics(now.font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('0'));
    m_evenDigits = true;
    for (char c = '1'; c <= '9'; ++c)
        m_evenDigits = m_evenDigits && metrics.horizontalAdvance(QLatin1Char(c)) == width;
    m_measuredLooks = now;
}

void StatusPanelBox::checkHints()
{
    const bool sameRoom = sameRoomAsMeasured();
    m_measuredText = m_label->text();
    if (sameRoom)
        return;
    const Looks now = looks();
    if (!(now == m_measuredLooks))
        noteLooks(now);
    const QSize hint = m_label->sizeHint();
    const QSize minimumHint = m_label->minimumSizeHint();
    if (hint == m_hint && minimumHint == m_minimumHint)
        return;
    m_hint = hint;
    m_minimumHint = minimumHint;
    updateGeometry();
}
