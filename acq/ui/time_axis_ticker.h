#pragma once

#include "acq/core/page_math.h"

#include <QDate>
#include <QString>
#include <qcustomplot.h>

// The time axis of the panel charts: X is seconds from midnight of the base date, ticks fall on
// whole clock steps counted from that midnight, labels are wall-clock times of the base date plus
// X (so a run past midnight is labelled with the next day's times).
class TimeAxisTicker : public QCPAxisTicker
{
public:
    TimeAxisTicker() = default;

    QDate baseDate() const { return m_base; }
    void setBaseDate(QDate date) { m_base = date; }
    PageMath::TimeLabel labelForm() const { return m_label; }
    void setLabelForm(PageMath::TimeLabel label) { m_label = label; }

    // The label of one X value.
    QString label(double x) const;
    // The major tick spacing for an axis range.
    double stepFor(const QCPRange &range) const;

protected:
    double getTickStep(const QCPRange &range) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar,
                         int precision) override;

private:
    QDate m_base = QDate::currentDate();
    PageMath::TimeLabel m_label = PageMath::TimeLabel::Seconds;
};
