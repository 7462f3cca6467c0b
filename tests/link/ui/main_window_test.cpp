// The main window of ventlink, offscreen: its wiring to the download, files, instruments, settings
// and options. The tables behind what it shows are tested in the core tests.
#include "common/core/settings_store.h"
#include "common/ui/data_grid.h"
#include "common/ui/key_state.h"
#include "common/ui/options_dialog.h"
#include "common/ui/window_fonts.h"
#include "link/core/download_session.h"
#include "link/core/link_status.h"
#include "link/ui/drive_combo.h"
#include "link/ui/folder_list.h"
#include "link/ui/link_presenter.h"
#include "link/ui/main_window.h"
#include "common/ui/message_dialog.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using linktest::flags;
using linktest::makeState;
using linktest::messages;

namespace {

using ScriptedPort = linktest::ScriptedLinkPort;

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

struct Window
{
    explicit Window(OptionFlags f = flags(1, 1, 1), qint16 offset = 0,
                    UiVariant variant = UiVariant::English)
        : state(makeState(offset, variant, f)),
          store(SettingsStore::forFile(settingsDir.path() + "/ventlink.ini"))
    {
        state->presenter = &presenter;
        f.save(*store);
        store->writeText("Path", "Driver", "/");
        store->writeText("Path", "Path", folder.path());
        store->sync();
    }
    LinkMainWindow &open()
    {
        window = std::make_unique<LinkMainWindow>(*state, *store, port);
        window->setInstrumentScan([this](PortTables &t) {
            t = tables;
            return attached;
        });
        return *window;
    }
    // Lists one instrument, as the USB scan would find it.
    void attach()
    {
        attached = true;
        tables.gSerialNos[1] = "0012345";
        tables.gPortNames[1] = "/dev/pts/3";
        window->tmrUSB_Timer();
    }
    QString rowText(int row) const
    {
        QStringList cells;
        GridModel *m = window->vaSpdData()->grid();
        for (int c = 1; c <= m->gridColumnCount(); ++c)
            cells << m->cell(row, c);
        return cells.join('|');
    }

    QTemporaryDir settingsDir;
    QTemporaryDir folder;
    std::unique_ptr<LinkState> state;
    std::unique_ptr<SettingsStore> store;
    venttest::RecordingPresenter presenter;
    ScriptedPort port;
    PortTables tables;
    bool attached = false;
    std::unique_ptr<LinkMainWindow> window;
};

} // namespace

TEST(LinkMainWindow, StartStateFromTheSettingsAndTheOptions)
{
    Window w(flags(1, 0, 1));
    LinkMainWindow &win = w.open();
    ASSERT_TRUE(win.loaded());
    EXPECT_EQ(win.windowTitle(), "Ventolux PC-LINK Software");
    EXPECT_EQ(win.cmdMeasuring()->text(), "Read Data");
    EXPECT_TRUE(win.tmrUSB()->isActive());
    EXPECT_EQ(win.tmrUSB()->interval(), 1000);
    // the grid's column layout follows Display ATM (the layout itself: RecordDecoderTitles)
    for (int column : {8, 9, 10})
        EXPECT_TRUE(win.vaSpdData()->isGridColumnHidden(column)) << column;
    EXPECT_EQ(win.folderPath(), QDir::cleanPath(w.folder.path()));
    EXPECT_EQ(win.currentDrive(), "/");
}

TEST(LinkMainWindow, FileListShowsCsvFilesWithoutRegardToCase)
{
    Window w;
    for (const char *name : {"b.csv", "a.CSV", "c.Csv", "notes.txt", "csv", "d.csv.bak"})
        writeFile(w.folder.path() + "/" + name, "x");
    for (const char *folder : {"sub.csv", "Alpha"})
        QDir(w.folder.path()).mkdir(folder);
    LinkMainWindow &win = w.open();
    QStringList shown;
    for (int i = 0; i < win.FileList()->count(); ++i)
        shown << win.FileList()->item(i)->text();
    EXPECT_EQ(shown, QStringList({"a.CSV", "b.csv", "c.Csv"}));

    // the folder list: the chain to the folder, then its subfolders
    FolderList *dirs = win.FileDir();
    ASSERT_GE(dirs->count(), 2);
    // entering a subfolder lists its files; a new file shows after the refresh
    writeFile(w.folder.path() + "/Alpha/x.csv", "x");
    emit dirs->itemActivated(dirs->item(dirs->count() - 2));
    EXPECT_EQ(win.folderPath(), QDir::cleanPath(w.folder.path() + "/Alpha"));
    ASSERT_EQ(win.FileList()->count(), 1);
    EXPECT_EQ(win.FileList()->item(0)->text(), "x.csv");
}

TEST(LinkMainWindow, ChoosingAFileReadsItAndABadFileIsReportedOnce)
{
    Window w;
    writeFile(w.folder.path() + "/good.CSV",
              linktest::readExpected("save_atm_on.csv").join("\r\n").toUtf8() + "\r\n");
    writeFile(w.folder.path() + "/bad.CSV", "something else\r\nDate\r\n\r\n");
    LinkMainWindow &win = w.open();
    ASSERT_EQ(win.FileList()->count(), 2);
    QListWidgetItem *bad = win.FileList()->item(0);
    QListWidgetItem *good = win.FileList()->item(1);
    ASSERT_EQ(good->text(), "good.CSV");

    emit win.FileList()->itemClicked(good);
    EXPECT_TRUE(w.presenter.shown.isEmpty());
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 5);
    EXPECT_EQ(w.rowText(1), "0001|10|20|mm|0001|0.25|70.1|1013|1013|1");
    EXPECT_TRUE(win.cmdMeasuring()->isEnabled());
    EXPECT_EQ(win.lblStatue()->text(), "Display ");

    emit win.FileList()->itemClicked(bad);
    EXPECT_EQ(messages(w.presenter), QStringList{"Read File Error!"});
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 1);
    EXPECT_TRUE(win.cmdMeasuring()->isEnabled());
}

TEST(LinkMainWindow, InstrumentListFollowsTheScan)
{
    Window w;
    LinkMainWindow &win = w.open();
    w.attach();
    w.tables.gSerialNos[2] = "0012346";
    w.tables.gPortNames[2] = "/dev/pts/4";
    win.tmrUSB_Timer();
    win.tmrUSB_Timer();
    ASSERT_EQ(win.cobPort()->count(), 2);
    EXPECT_EQ(win.cobPort()->itemText(1), "0012346");
    // items are not removed one by one: the first instrument goes, both stay listed
    w.tables.gSerialNos[1] = w.tables.gSerialNos[2];
    w.tables.gPortNames[1] = w.tables.gPortNames[2];
    w.tables.gSerialNos[2].clear();
    w.tables.gPortNames[2].clear();
    win.tmrUSB_Timer();
    EXPECT_EQ(win.cobPort()->count(), 2);
    // no instrument at all empties the list
    w.attached = false;
    win.tmrUSB_Timer();
    EXPECT_EQ(win.cobPort()->count(), 0);
    EXPECT_EQ(w.state->ports.gSerialNos[1], "");
}

TEST(LinkMainWindow, GeometryAndFolderAreKeptAcrossARestart)
{
    Window w;
    const char *geometry[][2] = {{"Main Left", "1500"}, {"Main Top", "1200"}, {"Main Width", "9000"},
                                 {"Main Height", "7500"}};
    for (const auto &key : geometry)
        w.store->writeText("Windows", key[0], key[1]);
    LinkMainWindow &win = w.open();
    win.show();
    EXPECT_EQ(win.geometry(), QRect(100, 80, 600, 500));
    win.setGeometry(QRect(120, 90, 700, 520));
    QDir(w.folder.path()).mkdir("keep");
    ASSERT_TRUE(win.selectFolder(w.folder.path() + "/keep"));
    EXPECT_TRUE(win.close());
    EXPECT_EQ(w.store->readText("Windows", "Main Left", ""), "1800");
    EXPECT_EQ(w.store->readText("Windows", "Main Width", ""), "10500");
    EXPECT_EQ(w.store->readText("Path", "Path", ""), QDir::cleanPath(w.folder.path() + "/keep"));
    EXPECT_EQ(w.store->readText("Path", "Driver", ""), "/");

    // minimised: the geometry keys keep what they hold, the folder is still written
    LinkMainWindow &again = w.open();
    ASSERT_TRUE(again.selectFolder(w.folder.path()));
    again.showMinimized();
    EXPECT_TRUE(again.close());
    EXPECT_EQ(w.store->readText("Windows", "Main Left", ""), "1800");
    EXPECT_EQ(w.store->readText("Path", "Path", ""), QDir::cleanPath(w.folder.path()));
}

TEST(LinkMainWindow, DefaultsAndAGoneDriveOrFolderLeaveTheDefaultsWithoutAMessage)
{
    Window w;
    w.store->writeText("Path", "Driver", "/media/nothing-here");
    w.store->writeText("Path", "Path", "/media/nothing-here/data");
    LinkMainWindow &win = w.open();
    EXPECT_TRUE(w.presenter.shown.isEmpty());
    const QString home = QDir::cleanPath(QDir::homePath());
    EXPECT_TRUE(win.folderPath() == home || win.folderPath().startsWith(home + "/"))
        << win.folderPath().toStdString();

    // a drive chosen in the list that cannot be read: code 5, one message
    win.Drv()->showDrive("/media/nothing-here");
    emit win.Drv()->activated(win.Drv()->currentIndex());
    EXPECT_EQ(messages(w.presenter), QStringList{"Driver is Error!"});
}

TEST(LinkMainWindow, OptionsFromTheButtonOrShiftCtrlCloseAndCancelChangesNothing)
{
    Window w;
    LinkMainWindow &win = w.open();
    win.show();
    enum Way { kCancel, kButton, kShiftCtrlClose };
    for (const Way way : {kCancel, kButton, kShiftCtrlClose}) {
        if (way == kShiftCtrlClose)
            KeyState::setOverride(Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier));
        QTimer::singleShot(0, [way] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, 3000));
            auto *d = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            for (QCheckBox *box : {d->cbDspATM(), d->cbSavATM(), d->cbEnbATM(), d->cbEnbUSB()})
                EXPECT_TRUE(box->isVisible() || way == kShiftCtrlClose);
            KeyState::setOverride(Qt::KeyboardModifiers(Qt::NoModifier));
            (way == kShiftCtrlClose ? d->cbDspATM() : d->cbSavATM())->setChecked(false);
            (way == kCancel ? d->cmdCancel() : d->cmdSetATM())->click();
        });
        if (way == kShiftCtrlClose)
            EXPECT_FALSE(win.close());
        else
            win.cmdOptions()->click();
        EXPECT_EQ(w.state->flags.saveAtm, way == kCancel ? 1 : 0) << way;
        EXPECT_EQ(w.state->flags.displayAtm, way == kShiftCtrlClose ? 0 : 1) << way;
    }
    KeyState::setOverride(std::nullopt);
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(w.store->readText("measurement Parameter", "Display ATM", ""), "0");
    EXPECT_EQ(w.store->readText("measurement Parameter", "Save ATM", ""), "0");
}

TEST(LinkMainWindow, WholeDownloadInTheWindow)
{
    Window w;
    LinkMainWindow &win = w.open();
    win.show();
    w.attach();
    win.txtFileName()->setText(" site A ");
    win.session().setTickInterval(1);
    QTest::mouseClick(win.cmdMeasuring(), Qt::LeftButton);
    ASSERT_TRUE(win.session().tmrGetData()->isActive());
    // controls that could start a second download or change the file are disabled meanwhile
    const std::initializer_list<QWidget *> controls = {
        win.cmdMeasuring(), win.cmdEnd(), win.txtFileName(), win.FileList(),
        win.FileDir(),      win.Drv(),    win.cobPort()};
    for (QWidget *c : controls)
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(win.tmrUSB()->isActive());
    w.port.send("AH\r\n001;  105;  307;mm;VEL;10126;1\r\n01;4.48;22.1\r\n"
                "002;  110;  314;mm;VEL;10127;0\r\n01;4.85;22.1\r\n/\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(!win.session().tmrGetData()->isActive(), 5000);

    EXPECT_TRUE(w.presenter.shown.isEmpty()) << w.presenter.lastText().toStdString();
    EXPECT_EQ(w.port.probedPorts, QStringList{"/dev/pts/3"});
    EXPECT_EQ(win.txtFileName()->text(), "site A") << "the trimmed name is shown";
    for (QWidget *c : controls)
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(win.tmrUSB()->isActive());
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 2);
    EXPECT_EQ(w.rowText(1), "001|  105|  307|mm|01|4.48|22.1|1013|1013|1");
    // a marker in the pressure column is centred, a number right-aligned
    EXPECT_EQ(win.vaSpdData()->grid()->cellAlignment(2, 8) & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(win.vaSpdData()->grid()->cellAlignment(1, 8) & Qt::AlignRight, Qt::AlignRight);
    ASSERT_EQ(win.FileList()->count(), 1);
    EXPECT_EQ(win.FileList()->item(0)->text(), "site A.CSV");
    EXPECT_EQ(win.lblStatue()->text(), "Display ");
    EXPECT_EQ(win.lblProgress()->text(), "2 readings saved to " + w.folder.path() + "/site A.CSV");
    QFile saved(w.folder.path() + "/site A.CSV"); // the title line, from the window's grid
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()).split("\r\n").value(3),
              "No,X,Y,inch/mm,No,Vel(m/s),Temp( deg.C ),ATM(hPa),ATM F,");
}

TEST(LinkMainWindow, ClosingDuringADownloadAsksAndNoKeepsItRunning)
{
    Window w;
    LinkMainWindow &win = w.open();
    win.show();
    w.attach();
    win.txtFileName()->setText("x");
    win.session().setTickInterval(1);
    QTest::mouseClick(win.cmdMeasuring(), Qt::LeftButton);
    w.port.send("AH\r\n001;  105;  307;mm;VEL;10126;1\r\n01;4.48;22.1\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(win.lblProgress()->text().startsWith("Receiving: "), 5000);
    w.presenter.queueAnswer(status::kAnswerNo);
    EXPECT_FALSE(win.close());
    EXPECT_EQ(w.presenter.lastText(), "A download is running. Stop it and close?");
    w.port.send("02;4.60;22.2\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(win.vaSpdData()->grid()->gridRowCount(), 2, 5000); // still receiving

    EXPECT_TRUE(win.close()); // Yes: stopped and closed
    EXPECT_EQ(w.presenter.count(), 2);
    EXPECT_EQ(w.state->idle, 1);
    EXPECT_FALSE(w.port.open);
    EXPECT_FALSE(win.session().tmrGetData()->isActive());
    EXPECT_FALSE(QFile::exists(w.folder.path() + "/x.CSV"));
}

TEST(LinkPresenter, StatusMessagesUseTheOneButtonDialogInTheLanguage)
{
    installFontSubstitutions();
    for (UiVariant variant : {UiVariant::English, UiVariant::Japanese}) {
        auto state = makeState(variant == UiVariant::English ? 0 : 10000, variant);
        LinkPresenter presenter(*state);
        state->presenter = &presenter;
        state->gLinkStatus = linkstatus::kCommunication;
        QStringList shown; // the text, then each button's
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown << dialog->messageLabel()->text();
            const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
            for (QPushButton *b : buttons)
                shown << b->text();
            QTest::mouseClick(buttons.first(), Qt::LeftButton);
        });
        linkstatus::sShowLinkStatus(*state);
        const QString text = variant == UiVariant::English
                                 ? QStringLiteral("Rs232c  communicate error !")
                                 : state->errorTexts[linkstatus::kCommunication];
        EXPECT_EQ(shown, QStringList({text, "OK"}));
    }
}
