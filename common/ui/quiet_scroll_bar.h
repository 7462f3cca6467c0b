#pragma once

#include <QRect>
#include <QScrollBar>

// A scroll bar that is redrawn only when what it shows changes. A table that grows by a row per
// sample changes its scroll bar's range every time, but once the handle is at its smallest size
// and at the end, the bar looks the same: QScrollBar would still redraw it each time, and the
// style's gradients over a tall bar are filled by several threads, which wakes the program many
// times per sample. Here a change of range, value or step redraws the bar only when the handle's
// place or size or the bar's ends (value at the minimum or maximum) differ from the last drawing,
// and the bar is drawn in bands short enough to be filled on this thread (the same pixels).
class QuietScrollBar : public QScrollBar
{
public:
    explicit QuietScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    // How many times the bar has been drawn (figures, tests).
    int paintCount() const { return m_paints; }

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Look
    {
        QRect handle;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look &o) const
        {
            return handle == o.handle && atMinimum == o.atMinimum && atMaximum == o.atMaximum;
        }
    };
    Look look() const;

    Look m_drawn;
    bool m_haveDrawn = false;
    bool m_checkQueued = false;
    int m_paints = 0;
};
