#include "acq/ui/window_texts.h"

#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/message_presenter.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"

#include <QAbstractButton>
#include <QLabel>

bool WindowTexts::lookup(int id, QString *out)
{
    if (m_failed)
        return false;
    const std::optional<QString> t = m_state.texts.lookup(m_state.languageOffset + id);
    if (!t) {
        m_failed = true;
        if (m_state.presenter)
            m_state.presenter->notify(MessagePresenter::Icon::Exclamation,
                                      QLatin1String(AcqSettings::kApplicationTitle),
                                      QLatin1String(kResourceErrorText));
        return false;
    }
    *out = *t;
    return true;
}

void WindowTexts::text(QLabel *label, int id)
{
    QString t;
    if (lookup(id, &t))
        label->setText(t);
}

void WindowTexts::text(QAbstractButton *button, int id)
{
    QString t;
    if (lookup(id, &t))
        button->setText(t);
}

void WindowTexts::title(QWidget *window, int id)
{
    QString t;
    if (lookup(id, &t))
        window->setWindowTitle(t);
}

void WindowTexts::font(QWidget *widget, int faceId, int sizeId)
{
    QString face;
    QString size;
    if (!lookup(faceId, &face) || !lookup(sizeId, &size))
        return;
    QFont f = widget->font();
    f.setFamily(face);
    if (const std::optional<double> points = NumberFormat::parse(size); points && *points > 0)
        f.setPointSizeF(*points);
    widget->setFont(f);
}

qint16 WindowTexts::result() const
{
    return m_failed ? status::kFailure : status::kSuccess;
}
