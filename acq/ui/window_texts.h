#pragma once

#include <QString>

struct AppState;
class QWidget;
class QLabel;
class QAbstractButton;

// Helper of the windows' fLoadRes: looks texts and fonts up in the active block (id + offset)
// and remembers whether every lookup succeeded. After the first failure it shows
// "Error reading from resource file." once; texts set before the failure stay.
class WindowTexts
{
public:
    explicit WindowTexts(AppState &state) : m_state(state) {}

    // The text of id + offset, or nothing after a failure.
    bool lookup(int id, QString *out);
    void text(QLabel *label, int id);
    void text(QAbstractButton *button, int id);
    void title(QWidget *window, int id);
    // Face from faceId and size from sizeId (both + offset) on one control.
    void font(QWidget *widget, int faceId, int sizeId);

    // -10000 when every lookup succeeded, else -20000.
    qint16 result() const;
    bool failed() const { return m_failed; }

private:
    AppState &m_state;
    bool m_failed = false;
};
