// The about and splash windows and the question dialog, in each language.
#include "acq/core/app_state.h"
#include "acq/ui/about_window.h"
#include "acq/ui/acq_presenter.h"
#include "common/core/status_codes.h"
#include "common/ui/message_dialog.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct LanguageCase
{
    const char *name;
    qint16 offset;
    UiVariant variant;
};

const LanguageCase kLanguages[] = {{"en", 0, UiVariant::English},
                                   {"ja", 10000, UiVariant::Japanese},
                                   {"zh", 10000, UiVariant::Chinese}};

void prepare(AppState &state, const LanguageCase &lang, venttest::RecordingPresenter *presenter)
{
    state.versionText = makeVersionText(1, 0, 0);
    ASSERT_TRUE(venttest::loadAcqTexts(state, lang.variant, lang.offset, presenter));
}

TEST(AboutWindow, CtrlShiftEnterTogglesSimulationInEveryLanguage)
{
    for (const LanguageCase &lang : kLanguages) {
        SCOPED_TRACE(lang.name);
        venttest::RecordingPresenter presenter;
        AppState state;
        prepare(state, lang, &presenter);
        const QString plainTitle = state.appTitle;
        const QString suffix = QStringLiteral(" (") + state.localText(520) + QLatin1Char(')');
        QString mainCaption;
        AboutWindow about(state, [&](const QString &c) { mainCaption = c; });
        about.show();
        QApplication::setActiveWindow(&about);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
        const QString platform = about.lblPlatform()->text();
        venttest::maybeScreenshot(&about, QStringLiteral("about-") + QLatin1String(lang.name));

        QTest::keyClick(&about, Qt::Key_Return, Qt::ShiftModifier); // Shift alone: nothing
        EXPECT_EQ(state.simulation, 0);
        EXPECT_TRUE(about.isVisible());

        QTest::keyClick(&about, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier);
        EXPECT_EQ(state.simulation, 1);
        EXPECT_EQ(about.lblPlatform()->text(), platform + suffix);
        EXPECT_EQ(state.appTitle, plainTitle + suffix);
        EXPECT_EQ(mainCaption, plainTitle + suffix);
        EXPECT_TRUE(about.isVisible()); // the OK button did not take the key
        venttest::maybeScreenshot(&about, QStringLiteral("about-simulation-") + QLatin1String(lang.name));

        QTest::keyClick(&about, Qt::Key_Enter, Qt::ShiftModifier | Qt::ControlModifier);
        EXPECT_EQ(state.simulation, 0);
        EXPECT_EQ(about.lblPlatform()->text(), platform);
        EXPECT_EQ(mainCaption, plainTitle);
    }
}

TEST(AcqPresenter, QuestionDialogUsesTheActiveLanguage)
{
    for (const LanguageCase &lang : kLanguages) {
        venttest::RecordingPresenter recorder;
        AppState state;
        prepare(state, lang, &recorder);
        AcqPresenter presenter(state);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), state.localText(510));
            EXPECT_EQ(dialog->findChild<QPushButton *>(QStringLiteral("cmdYes"))->text(), state.localText(611));
            venttest::maybeScreenshot(dialog, QStringLiteral("message-dialog-") + QLatin1String(lang.name));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(presenter.askYesNoCancel(state.appTitle, state.msgNotSaved), status::kCancel);
    }
}

} // namespace
