#include "acq/ui/splash_window.h"

#include "acq/core/app_state.h"
#include "acq/ui/window_texts.h"
#include "common/core/status_codes.h"
#include "common/ui/window_fonts.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

SplashWindow::SplashWindow(AppState &state, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_state(state)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(245, 248, 252));
    setPalette(p);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    auto make = [frame](const char *name) {
        auto *l = new QLabel(frame);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        l->setWordWrap(true);
        return l;
    };
    m_product = make("lblProductName");
    m_platform = make("lblPlatform");
    m_version = make("lblVersion");
    m_notice = make("lblNotice");
    m_product->setStyleSheet(QStringLiteral("color: rgb(0, 64, 128); font-weight: bold;"));

    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(36, 28, 36, 22);
    inner->addWidget(m_product);
    inner->addWidget(m_platform);
    inner->addSpacing(10);
    inner->addWidget(m_version);
    inner->addStretch(1);
    inner->addWidget(m_notice);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    setFixedSize(520, 260);

    fLoadRes();
    sCenterForm(this);
}

qint16 SplashWindow::fLoadRes()
{
    sApplyCharset(this, m_state.fontChangeFlag);
    WindowTexts t(m_state);
    t.font(m_product, 4115, 4112);
    t.font(m_platform, 4111, 4113);
    t.font(m_version, 4111, 4113);
    t.font(m_notice, 4111, 4114);
    t.text(m_product, 4010);
    t.text(m_platform, 4020);
    m_version->setText(m_state.versionText);
    t.text(m_notice, 4030);
    return t.result();
}
