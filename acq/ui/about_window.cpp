#include "acq/ui/about_window.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/ui/window_texts.h"
#include "common/ui/window_fonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

AboutWindow::AboutWindow(AppState &state, std::function<void(const QString &)> setMainCaption,
                         QWidget *parent)
    : QDialog(parent), m_state(state), m_setMainCaption(std::move(setMainCaption))
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);

    auto make = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setWordWrap(true);
        return l;
    };
    m_product = make("lblProductName");
    m_platform = make("lblPlatform");
    m_version = make("lblVersion");
    m_notice = make("lblNotice");
    m_product->setStyleSheet(QStringLiteral("color: rgb(0, 64, 128); font-weight: bold;"));
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(88);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->addWidget(m_product);
    texts->addWidget(m_platform);
    texts->addWidget(m_version);
    texts->addSpacing(12);
    texts->addWidget(m_notice);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addWidget(m_ok, 0, Qt::AlignRight);
    setMinimumWidth(460);

    // A window shortcut: the default button must not take Enter away from it.
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(key)), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &AboutWindow::toggleSimulation);
    }

    // Load.
    fLoadRes();
    adjustSize();
    sCenterForm(this);
    m_platformText = m_platform->text();
    if (m_state.simulation == 1)
        m_platform->setText(m_platformText + m_state.texts.value(acqid::kFixedSimulationSuffix));
}

qint16 AboutWindow::fLoadRes()
{
    if (auto f = LanguageFont::fromTable(m_state.texts, m_state.languageOffset, m_state.fontChangeFlag))
        sApplyLanguageFont(this, *f);
    WindowTexts t(m_state);
    t.lookup(acqid::kAppTitle, &m_plainTitle);
    t.title(this, 4010);
    t.text(m_ok, acqid::kOk);
    t.font(m_platform, 4111, 4113);
    t.font(m_version, 4111, 4113);
    t.font(m_notice, 4111, 4114);
    t.text(m_platform, 4020);
    t.text(m_product, 4010);
    t.font(m_product, acqid::kFontFace, 4112);
    m_version->setText(m_state.versionText);
    t.text(m_notice, 4030);
    return t.result();
}

void AboutWindow::toggleSimulation()
{
    const QString suffix =
        QStringLiteral(" (") + m_state.localText(acqid::kSimulation) + QLatin1Char(')');
    if (m_state.simulation != 1) {
        m_state.simulation = 1;
        m_platform->setText(m_platformText + suffix);
        m_state.appTitle = m_plainTitle + suffix;
    } else {
        m_state.simulation = 0;
        m_platform->setText(m_platformText);
        m_state.appTitle = m_plainTitle;
    }
    if (m_setMainCaption)
        m_setMainCaption(m_state.appTitle);
}
