#pragma once

#include <QWidget>

struct AppState;
class QLabel;

// The start-up window of ventacq (frmSplash): product name, platform, version and notice.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(AppState &state, QWidget *parent = nullptr);

    qint16 fLoadRes();

    QLabel *lblProductName() const { return m_product; }
    QLabel *lblPlatform() const { return m_platform; }
    QLabel *lblVersion() const { return m_version; }
    QLabel *lblNotice() const { return m_notice; }

private:
    AppState &m_state;
    QLabel *m_product;
    QLabel *m_platform;
    QLabel *m_version;
    QLabel *m_notice;
};
