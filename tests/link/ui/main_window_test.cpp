// The main window of ventlink, offscreen: controls and captions, the folder browser, reading saved
// files, the instrument list, settings kept between runs, the Shift+Ctrl close path, and a whole
// download over a scripted port (with screenshots in the three languages).
#include "common/core/settings_store.h"
#include "common/ui/data_grid.h"
#include "common/ui/key_state.h"
#include "common/ui/options_dialog.h"
#include "common/ui/window_fonts.h"
#include "link/core/download_session.h"
#include "link/core/link_port.h"
#include "link/core/link_program_settings.h"
#include "link/core/link_status.h"
#include "link/core/record_decoder.h"
#include "link/core/serial_link_port.h"
#include "link/ui/drive_combo.h"
#include "link/ui/folder_list.h"
#include "link/ui/link_presenter.h"
#include "link/ui/main_window.h"
#include "common/ui/message_dialog.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
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
    QString rowText(int row) const
    {
        QStringList cells;
        GridModel *m = window->vaSpdData()->grid();
        for (int c = 1; c <= m->gridColumnCount(); ++c)
            cells << (row == 0 ? m->headerText(c) : m->cell(row, c));
        return cells.join('|');
    }

    QTemporaryDir settingsDir;
    QTemporaryDir folder;
    std::unique_ptr<LinkState> state;
    std::unique_ptr<SettingsStore> store;
    linktest::RecordingPresenter presenter;
    ScriptedPort port;
    PortTables tables;
    bool attached = false;
    std::unique_ptr<LinkMainWindow> window;
};

const QByteArray kSavedAtmFile = "Ventolux PC-LINK Software\r\nDate,2024-05-06 07:08\r\n\r\n"
                                 "No,X,Y,inch/mm,No,Vel(m/s),Temp( deg.C ),ATM(hPa),ATM F,\r\n"
                                 "001,120,340,mm,01,12.5,23.4,1013,1,\r\n"
                                 ",,,,02,12.7,23.5,,,\r\n";

} // namespace

TEST(LinkMainWindow, ControlsCaptionsAndStartState)
{
    Window w;
    LinkMainWindow &win = w.open();
    ASSERT_TRUE(win.loaded());
    EXPECT_EQ(win.windowTitle(), "Ventolux PC-LINK Software");
    const struct
    {
        const char *name;
        const char *text;
    } labels[] = {{"lblDirv", "Driver:"},        {"lblReadData", "Data List"},
                  {"lblFileName", "Save File Name"}, {"Label1", ".CSV"},
                  {"lblPort", "Serial  No.:"},   {"lblStaut", "Program Status"},
                  {"lblStatue", "Display "}};
    for (const auto &l : labels) {
        auto *label = win.findChild<QLabel *>(QLatin1String(l.name));
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), QLatin1String(l.text)) << l.name;
    }
    EXPECT_EQ(win.cmdMeasuring()->text(), "Read Data");
    EXPECT_EQ(win.cmdEnd()->text(), "Close");
    for (const char *name : {"Drv", "FileDir", "FileList", "txtFileName", "cobPort", "cmdMeasuring",
                             "cmdEnd", "vaSpdData"})
        EXPECT_NE(win.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_TRUE(win.tmrUSB()->isActive());
    EXPECT_EQ(win.tmrUSB()->interval(), 1000);
    EXPECT_EQ(win.cobPort()->count(), 0);
    EXPECT_EQ(w.rowText(0), "No|X|Y|inch/mm|No|Type|Temp( deg.C )|ATM(hPa)|ATM(hPa)|ATM F");
    EXPECT_TRUE(win.vaSpdData()->isGridColumnHidden(9));
    EXPECT_TRUE(win.vaSpdData()->isGridColumnHidden(10));
    EXPECT_FALSE(win.vaSpdData()->isGridColumnHidden(8));
    EXPECT_EQ(win.folderPath(), QDir::cleanPath(w.folder.path()));
    EXPECT_EQ(win.currentDrive(), "/");
    EXPECT_TRUE(w.presenter.messages.isEmpty());
}

TEST(LinkMainWindow, JapaneseCaptionsAndFont)
{
    installFontSubstitutions();
    Window w(flags(1, 1, 1), 10000, UiVariant::Japanese);
    w.state->charset = 128;
    LinkMainWindow &win = w.open();
    EXPECT_EQ(win.cmdMeasuring()->text(), QStringLiteral("データ読み込み"));
    EXPECT_EQ(win.findChild<QLabel *>("lblDirv")->text(), QStringLiteral("ドライブ："));
    EXPECT_EQ(win.lblStatue()->text(), QStringLiteral("表示"));
    EXPECT_EQ(win.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(charsetOf(win.cmdEnd()), 128);
}

TEST(LinkMainWindow, FileListShowsCsvFilesWithoutRegardToCase)
{
    Window w;
    for (const char *name : {"b.csv", "a.CSV", "c.Csv", "notes.txt", "csv", "d.csv.bak"})
        writeFile(w.folder.path() + "/" + name, "x");
    QDir(w.folder.path()).mkdir("sub.csv");
    QDir(w.folder.path()).mkdir("Alpha");
    LinkMainWindow &win = w.open();
    QStringList shown;
    for (int i = 0; i < win.FileList()->count(); ++i)
        shown << win.FileList()->item(i)->text();
    EXPECT_EQ(shown, QStringList({"a.CSV", "b.csv", "c.Csv"}));

    // the folder list: the chain to the folder, then its subfolders
    FolderList *dirs = win.FileDir();
    ASSERT_GE(dirs->count(), 2);
    EXPECT_EQ(dirs->item(dirs->count() - 2)->data(FolderList::kPathRole).toString(),
              QDir::cleanPath(w.folder.path() + "/Alpha"));
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
    writeFile(w.folder.path() + "/good.CSV", kSavedAtmFile);
    writeFile(w.folder.path() + "/bad.CSV", "something else\r\nDate\r\n\r\n");
    LinkMainWindow &win = w.open();
    ASSERT_EQ(win.FileList()->count(), 2);
    QListWidgetItem *bad = win.FileList()->item(0);
    QListWidgetItem *good = win.FileList()->item(1);
    ASSERT_EQ(good->text(), "good.CSV");

    emit win.FileList()->itemClicked(good);
    EXPECT_TRUE(w.presenter.messages.isEmpty());
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 3);
    EXPECT_EQ(w.rowText(0), "No|X|Y|inch/mm|No|Vel(m/s)|Temp( deg.C )|ATM(hPa)|ATM(hPa)|ATM F");
    EXPECT_EQ(w.rowText(1), "0001|120|340|mm|0001|12.5|23.4|1013|1013|1");
    EXPECT_EQ(win.vaSpdData()->grid()->cellAlignment(1, 8) & Qt::AlignRight, Qt::AlignRight);
    EXPECT_TRUE(win.cmdMeasuring()->isEnabled());
    EXPECT_EQ(win.lblStatue()->text(), "Display ");

    emit win.FileList()->itemClicked(bad);
    EXPECT_EQ(w.presenter.messages, QStringList{"Read File Error!"});
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 1);
    EXPECT_TRUE(win.cmdMeasuring()->isEnabled());
}

TEST(LinkMainWindow, InstrumentListFollowsTheScan)
{
    Window w;
    LinkMainWindow &win = w.open();
    w.attached = true;
    w.tables.gSerialNos[1] = "0012345";
    w.tables.gPortNames[1] = "/dev/pts/3";
    win.tmrUSB_Timer();
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
    // ...and the chosen one is found by its serial text, not by its place in the list
    win.cobPort()->setCurrentIndex(1);
    EXPECT_EQ(DownloadSession::portForInstrument(*w.state, win.chosenInstrument()), "/dev/pts/4");
    win.cobPort()->setCurrentIndex(0);
    EXPECT_EQ(DownloadSession::portForInstrument(*w.state, win.chosenInstrument()), "");
    // no instrument at all empties the list
    w.attached = false;
    win.tmrUSB_Timer();
    EXPECT_EQ(win.cobPort()->count(), 0);
    EXPECT_EQ(w.state->ports.gSerialNos[1], "");
}

TEST(LinkMainWindow, GeometryAndFolderAreKeptAcrossARestart)
{
    Window w;
    w.store->writeText("Windows", "Main Left", "1500");
    w.store->writeText("Windows", "Main Top", "1200");
    w.store->writeText("Windows", "Main Width", "9000");
    w.store->writeText("Windows", "Main Height", "7500");
    LinkMainWindow &win = w.open();
    win.show();
    EXPECT_EQ(win.geometry(), QRect(100, 80, 600, 500));
    win.setGeometry(QRect(120, 90, 700, 520));
    EXPECT_EQ(win.geometry(), QRect(120, 90, 700, 520));
    QDir(w.folder.path()).mkdir("keep");
    ASSERT_TRUE(win.selectFolder(w.folder.path() + "/keep"));
    EXPECT_TRUE(win.close());
    EXPECT_EQ(w.store->readText("Windows", "Main Left", ""), "1800");
    EXPECT_EQ(w.store->readText("Windows", "Main Width", ""), "10500");
    EXPECT_EQ(w.store->readText("Path", "Path", ""), QDir::cleanPath(w.folder.path() + "/keep"));
    EXPECT_EQ(w.store->readText("Path", "Driver", ""), "/");

    // minimised: the geometry keys keep what they hold, the folder is still written
    LinkMainWindow &again = w.open();
    again.show();
    EXPECT_EQ(again.folderPath(), QDir::cleanPath(w.folder.path() + "/keep"));
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
    w.store->writeText("Windows", "Main Width", "not a number");
    LinkMainWindow &win = w.open();
    EXPECT_TRUE(w.presenter.messages.isEmpty());
    const QString home = QDir::cleanPath(QDir::homePath());
    EXPECT_TRUE(win.folderPath() == home || win.folderPath().startsWith(home + "/"))
        << win.folderPath().toStdString();
    win.show();
    EXPECT_EQ(win.width(), 786); // 11790 twips

    // a drive chosen in the list that cannot be read: code 5, one message
    win.Drv()->showDrive("/media/nothing-here");
    emit win.Drv()->activated(win.Drv()->currentIndex());
    EXPECT_EQ(w.presenter.messages, QStringList{"Driver is Error!"});
}

TEST(LinkMainWindow, ShiftCtrlCloseOpensTheOptionsAndKeepsTheWindow)
{
    Window w(flags(1, 1, 1));
    LinkMainWindow &win = w.open();
    win.show();
    KeyState::setOverride(Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier));
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cbDspATM()->setChecked(false);
        KeyState::setOverride(Qt::KeyboardModifiers(Qt::NoModifier));
        QTest::mouseClick(dialog->cmdSetATM(), Qt::LeftButton);
    });
    EXPECT_FALSE(win.close());
    KeyState::setOverride(std::nullopt);
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(w.store->readText("measurement Parameter", "Display ATM", ""), "0");
    EXPECT_EQ(w.store->readText("measurement Parameter", "Save ATM", ""), "0");
    EXPECT_EQ(w.state->flags.displayAtm, 0);
}

namespace {

void download(Window &w, LinkMainWindow &win, const QByteArray &dump)
{
    w.attached = true;
    w.tables.gSerialNos[1] = "0012345";
    w.tables.gPortNames[1] = "/dev/pts/3";
    win.tmrUSB_Timer();
    win.txtFileName()->setText(" site A ");
    win.session().setTickInterval(1);
    QTest::mouseClick(win.cmdMeasuring(), Qt::LeftButton);
    ASSERT_TRUE(win.session().tmrGetData()->isActive());
    // controls that could start a second download or change the file are disabled meanwhile
    for (QWidget *c : std::initializer_list<QWidget *>{win.cmdMeasuring(), win.cmdEnd(), win.txtFileName(),
                                                      win.FileList(), win.FileDir(), win.Drv(), win.cobPort()})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(win.tmrUSB()->isActive());
    w.port.send(dump);
    QTRY_VERIFY_WITH_TIMEOUT(!win.session().tmrGetData()->isActive(), 5000);
}

QByteArray sampleDump()
{
    QByteArray dump = "AH\r\n";
    for (int g = 1; g <= 12; ++g) {
        dump += QStringLiteral("%1;  %2;  %3;mm;VEL;%4;%5\r\n")
                    .arg(g, 3, 10, QLatin1Char('0'))
                    .arg(100 + 5 * g)
                    .arg(300 + 7 * g)
                    .arg(10125 + g)
                    .arg(g == 5 ? 3 : (g == 9 ? 0 : 1))
                    .toLatin1();
        for (int r = 1; r <= 2; ++r)
            dump += QStringLiteral("%1;%2;%3\r\n")
                        .arg(r, 2, 10, QLatin1Char('0'))
                        .arg(4.0 + g * 0.37 + r * 0.11, 0, 'f', 2)
                        .arg(22.0 + r * 0.1, 0, 'f', 1)
                        .toLatin1();
    }
    return dump + "/\r\n";
}

} // namespace

TEST(LinkMainWindow, WholeDownloadInTheWindow)
{
    Window w;
    LinkMainWindow &win = w.open();
    win.resize(786, 621);
    win.show();
    download(w, win, sampleDump());
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join("; ").toStdString();
    EXPECT_EQ(w.port.probedPorts, QStringList{"/dev/pts/3"});
    EXPECT_EQ(win.txtFileName()->text(), "site A");
    for (QWidget *c : std::initializer_list<QWidget *>{win.cmdMeasuring(), win.cmdEnd(), win.txtFileName(),
                                                      win.FileList(), win.FileDir(), win.Drv(), win.cobPort()})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(win.tmrUSB()->isActive());
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 24);
    EXPECT_EQ(w.rowText(0), "No|X|Y|inch/mm|No|Vel(m/s)|Temp( deg.C )|ATM(hPa)|ATM(hPa)|ATM F");
    EXPECT_EQ(w.rowText(1), "001|  105|  307|mm|01|4.48|22.1|1013|1013|1");
    EXPECT_EQ(w.rowText(9), "005|  125|  335|mm|01|5.96|22.1|Err|1013|3");
    EXPECT_EQ(win.vaSpdData()->grid()->cellAlignment(17, 8) & Qt::AlignHCenter, Qt::AlignHCenter);
    // the saved file is listed
    ASSERT_EQ(win.FileList()->count(), 1);
    EXPECT_EQ(win.FileList()->item(0)->text(), "site A.CSV");
    EXPECT_EQ(win.lblStatue()->text(), "Display ");
    venttest::maybeScreenshot(&win, "ventlink-download-en");
}

TEST(LinkMainWindow, DownloadScreenshotsInJapaneseAndChinese)
{
    installFontSubstitutions();
    const struct
    {
        UiVariant variant;
        qint16 charset;
        const char *name;
        const char *button;
    } cases[] = {{UiVariant::Japanese, 128, "ventlink-download-ja", "データ読み込み"},
                 {UiVariant::Chinese, 0, "ventlink-download-zh", "读取数据"}};
    for (const auto &c : cases) {
        Window w(flags(1, 1, 1), 10000, c.variant);
        w.state->charset = c.charset;
        LinkMainWindow &win = w.open();
        win.resize(786, 621);
        win.show();
        download(w, win, sampleDump());
        EXPECT_EQ(win.cmdMeasuring()->text(), QString::fromUtf8(c.button));
        EXPECT_EQ(w.rowText(0).section('|', 6, 6), QStringLiteral("Temp( ℃ )"));
        // the marker of a pressure without a value is "-" in the localized block
        EXPECT_EQ(w.rowText(17).section('|', 7, 7), "-");
        venttest::maybeScreenshot(&win, QLatin1String(c.name));
    }
}

TEST(LinkMainWindow, ClosingDuringADownloadStopsItFirst)
{
    Window w;
    LinkMainWindow &win = w.open();
    win.show();
    w.attached = true;
    w.tables.gSerialNos[1] = "0012345";
    w.tables.gPortNames[1] = "/dev/pts/3";
    win.tmrUSB_Timer();
    win.txtFileName()->setText("x");
    QTest::mouseClick(win.cmdMeasuring(), Qt::LeftButton);
    ASSERT_EQ(w.state->idle, 0);
    EXPECT_TRUE(win.close());
    EXPECT_EQ(w.state->idle, 1);
    EXPECT_FALSE(w.port.open);
    EXPECT_FALSE(win.session().tmrGetData()->isActive());
}

TEST(LinkMainWindow, RealDownloadFromTheVirtualInstrument)
{
    // The program as it runs: the virtual instrument registers like a plugged-in one, the
    // instrument list finds it, "Read Data" downloads over the real serial link.
    InstrumentOptions options;
    options.records = venttest::sourcePath("tests/link/data/dump_records.txt");
    VirtualInstrument instrument(options);
    QString error;
    ASSERT_TRUE(instrument.start(&error)) << error.toStdString();

    Window w;
    SerialLinkPort port(*w.state);
    LinkMainWindow win(*w.state, *w.store, port);
    win.setInstrumentScan([&port](PortTables &t) { return port.scanInstruments(t); });
    win.session().setPortResolver([&port](const QString &s) { return port.resolvePort(s); });
    win.session().setTickInterval(5);
    win.resize(786, 621);
    win.show();
    QTRY_COMPARE_WITH_TIMEOUT(win.cobPort()->count(), 1, 3000);
    EXPECT_EQ(win.cobPort()->currentText(), "0012345");
    win.txtFileName()->setText("demo");
    QTest::mouseClick(win.cmdMeasuring(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(win.cmdMeasuring()->isEnabled(), 8000);
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join("; ").toStdString();
    EXPECT_TRUE(QFile::exists(w.folder.path() + "/demo.CSV"));
    ASSERT_EQ(win.FileList()->count(), 1);
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 5);
    EXPECT_EQ(win.vaSpdData()->grid()->cell(3, 1), "002");
    EXPECT_EQ(win.vaSpdData()->grid()->headerText(6), "Vel(m/s)");
    venttest::maybeScreenshot(&win, "ventlink-ventsim-en");

    // the file read back shows the same rows, numbers with four digits (Save ATM on)
    emit win.FileList()->itemClicked(win.FileList()->item(0));
    EXPECT_EQ(win.vaSpdData()->grid()->cell(3, 1), "0002");
    EXPECT_EQ(win.vaSpdData()->grid()->gridRowCount(), 6);
    EXPECT_TRUE(w.presenter.messages.isEmpty());
}

TEST(LinkPresenter, StatusMessagesUseTheOneButtonDialogInTheLanguage)
{
    installFontSubstitutions();
    for (UiVariant variant : {UiVariant::English, UiVariant::Japanese}) {
        auto state = makeState(variant == UiVariant::English ? 0 : 10000, variant);
        LinkPresenter presenter(*state);
        state->presenter = &presenter;
        state->gLinkStatus = linkstatus::kCommunication;
        QString shownText;
        QString button;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shownText = dialog->messageLabel()->text();
            const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
            ASSERT_EQ(buttons.size(), 1);
            button = buttons.first()->text();
            venttest::maybeScreenshot(dialog, variant == UiVariant::English ? "ventlink-message-en"
                                                                            : "ventlink-message-ja");
            QTest::mouseClick(buttons.first(), Qt::LeftButton);
        });
        linkstatus::sShowLinkStatus(*state);
        EXPECT_EQ(shownText, variant == UiVariant::English ? QStringLiteral("Rs232c  communicate error !")
                                                           : QStringLiteral("通信エラーが発生しました。"));
        EXPECT_EQ(button, "OK");
    }
}
