#pragma once

#include <QSize>
#include <QWidget>

class QLabel;

// Holds one panel (a label) of the status bar. A label's new text makes the whole status bar lay
// itself out and redraw every panel, even when the text needs no other width, which happened for
// the sample count at every sample of a run. Here the label fills the box, and the box asks the
// status bar for a new layout only when the label's size hints change (the same places, pixels
// and texts).
class StatusPanelBox : public QWidget
{
public:
    explicit StatusPanelBox(QWidget *parent = nullptr);

    QLabel *label() const { return m_label; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void checkHints();

    QLabel *m_label;
    QSize m_hint;
    QSize m_minimumHint;
};
