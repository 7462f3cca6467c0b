// ventlink's "Options..." button: the options dialog with all four flags and a Cancel.
#include "common/core/settings_store.h"
#include "common/ui/options_dialog.h"
#include "link/core/link_state.h"
#include "link/ui/main_window.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(LinkOptionsCommand, OffersAllFourFlagsAndCancelChangesNothing)
{
    QTemporaryDir dir;
    auto state = linktest::makeState(0, UiVariant::English, linktest::flags(1, 1, 1));
    auto store = SettingsStore::forFile(dir.filePath("ventlink.ini"));
    linktest::ScriptedLinkPort port;
    LinkMainWindow window(*state, *store, port);
    window.show();
    for (const bool cancel : {true, false}) {
        QTimer::singleShot(0, [cancel] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
            auto *d = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            for (QCheckBox *box : {d->cbDspATM(), d->cbSavATM(), d->cbEnbATM(), d->cbEnbUSB()})
                EXPECT_TRUE(box->isVisible());
            ASSERT_NE(d->cmdCancel(), nullptr);
            d->cbSavATM()->setChecked(false);
            (cancel ? d->cmdCancel() : d->cmdSetATM())->click();
        });
        window.cmdOptions()->click();
        EXPECT_EQ(state->flags.saveAtm, cancel ? 1 : 0);
    }
    EXPECT_EQ(store->readText("measurement Parameter", "Save ATM", ""), "0");
    EXPECT_TRUE(window.isVisible());
}

} // namespace
