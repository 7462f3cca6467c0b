#pragma once

#include <QFont>
#include <QMargins>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;

// Holds one panel (a label) of the status bar. A label's new text makes the whole status bar lay
// itself out and redraw every panel, even when the text needs no other width, which happened for
// the sample count at every sample of a run. Here the label fills the box, and the box asks the
// status bar for a new layout only when the label's size hints change (the same places, pixels
// and texts). A text that only differs in its digits from the one last measured needs no measuring
// when the font's digits are all as wide, as the usual figures are: the count of a run then costs
// no text layout of its own at each sample.
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
    bool sameRoomAsMeasured() const;

    // What the label's hints depend on besides its text.
    struct Looks
    {
        QFont font;
        QMargins margins;
        int frameWidth = 0;
        int margin = 0;
        int indent = 0;
        bool wordWrap = false;
        bool operator==(const Looks &o) const
        {
            return font == o.font && margins == o.margins && frameWidth == o.frameWidth
                   && margin == o.margin && indent == o.indent && wordWrap == o.wordWrap;
        }
    };
    Looks looks() const;
    // Takes the label's looks as measured, with whether the font's digits are all as wide.
    void noteLooks(const Looks &now);

    QLabel *m_label;
    QSize m_hint;
    QSize m_minimumHint;
    QString m_measuredText;
    Looks m_measuredLooks;
    bool m_evenDigits = false;
};
