#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "tests/support/recording_presenter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const StringTable &acqTable()
{
    static StringTable table = [] {
        StringTable t;
        t.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"));
        return t;
    }();
    return table;
}

AppState stateFor(const char *lang, const char *languageEnv, venttest::RecordingPresenter *presenter)
{
    AppState state;
    state.presenter = presenter;
    state.texts = Texts(&acqTable(), UiVariant::English);
    const Language::Choice choice = Language::detect([&](const char *name) {
        if (qstrcmp(name, "LANG") == 0)
            return QString::fromLatin1(lang);
        if (qstrcmp(name, "LANGUAGE") == 0)
            return QString::fromLatin1(languageEnv);
        return QString();
    });
    sSelectLanguage(state, choice);
    return state;
}

TEST(AppStateStrings, EnglishSystemUsesTheNeutralBlock)
{
    venttest::RecordingPresenter presenter;
    AppState state = stateFor("en_US.UTF-8", "", &presenter);
    EXPECT_EQ(state.systemLanguageId, 1033);
    EXPECT_EQ(state.languageOffset, 0);
    ASSERT_EQ(fLoadCommonStrings(state), status::kSuccess);
    EXPECT_EQ(state.appTitle, QStringLiteral("Ventolux Data Acquisition Software"));
    EXPECT_EQ(state.fontChangeFlag, 0);
    EXPECT_EQ(state.msgNotSaved, QStringLiteral("Data is not saved.   Do you save it ?"));
    EXPECT_EQ(state.programStatusTexts[0], QStringLiteral("Measurement"));
    EXPECT_EQ(state.programStatusTexts[1], QStringLiteral("Display "));
    EXPECT_EQ(state.dataStatusTexts[2], QStringLiteral("Old Data"));
    EXPECT_EQ(state.messages[9], QStringLiteral("The measurement ended. "));
    EXPECT_EQ(state.messages[11], QStringLiteral("The range of sampling time is   "));
    EXPECT_FALSE(state.messages[15].isEmpty()); // the data-file failure message
    EXPECT_EQ(state.fileHeaderTexts[0], QStringLiteral("[Ventolux Measuring Data]"));
    EXPECT_EQ(state.fileHeaderTexts[21], QStringLiteral("Atomospheric Correction Flag"));
    EXPECT_EQ(state.flowUnitNames[3], QStringLiteral("ft3/min"));
    EXPECT_EQ(state.ductShapeNames[1], QStringLiteral("Circle"));
    EXPECT_EQ(state.fileFilters[0], QStringLiteral("Text files(*.CSV)|*.CSV"));
    EXPECT_EQ(presenter.count(), 0);
}

TEST(AppStateStrings, JapaneseSystemKeepsEnglishStatusTexts)
{
    venttest::RecordingPresenter presenter;
    AppState state = stateFor("ja_JP.UTF-8", "", &presenter);
    EXPECT_EQ(state.languageOffset, 10000);
    ASSERT_EQ(fLoadCommonStrings(state), status::kSuccess);
    EXPECT_EQ(state.fontChangeFlag, 128);
    EXPECT_EQ(state.msgNotSaved, QStringLiteral("データを保存していません。保存しますか。"));
    EXPECT_EQ(state.programStatusTexts[0], QStringLiteral("Measurement"));
    EXPECT_EQ(state.dataStatusTexts[3], QStringLiteral("New Data"));
    EXPECT_EQ(state.sampleTypeNames[0], QStringLiteral("Instant"));
    EXPECT_NE(state.fileHeaderTexts[0], QStringLiteral("[Ventolux Measuring Data]"));
}

TEST(AppStateStrings, JapaneseSystemWithEnglishInterfaceShowsTheLocalizedEnglish)
{
    venttest::RecordingPresenter presenter;
    AppState state = stateFor("ja_JP.UTF-8", "en", &presenter);
    EXPECT_EQ(state.languageOffset, 10000);
    ASSERT_EQ(fLoadCommonStrings(state), status::kSuccess);
    EXPECT_EQ(state.fileHeaderTexts[0], QStringLiteral("[Ventolux Mornitoring Data]"));
    EXPECT_EQ(state.fileHeaderTexts[16], QStringLiteral("Duct size Unit:"));
    EXPECT_EQ(state.fontChangeFlag, 0);
    EXPECT_EQ(state.msgConfirmStop, QStringLiteral("Are you sure you want to stop measurement ?"));
}

TEST(AppStateStrings, AMissingTextIsReportedAndChangesNothing)
{
    StringTable broken;
    QFile f(QStringLiteral(":/strings/ventacq_strings.tsv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    const int at = text.indexOf("\n820\t");
    ASSERT_GT(at, 0);
    text.remove(at + 1, text.indexOf('\n', at + 1) - at);
    ASSERT_TRUE(broken.loadText(text));

    venttest::RecordingPresenter presenter;
    AppState state;
    state.presenter = &presenter;
    state.texts = Texts(&broken, UiVariant::English);
    state.appTitle = QStringLiteral("before");
    EXPECT_EQ(fLoadCommonStrings(state), status::kFailure);
    EXPECT_EQ(state.appTitle, QStringLiteral("before"));
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.shown[0].text, QStringLiteral("Error reading from resource file."));
    EXPECT_EQ(presenter.shown[0].caption, QStringLiteral("Ventolux Data Acquisition Software"));
    EXPECT_EQ(int(presenter.shown[0].icon), int(MessagePresenter::Icon::Exclamation));
}

TEST(AppStateMessages, ErrorMessagesByIndexAndRangeMessages)
{
    venttest::RecordingPresenter presenter;
    AppState state = stateFor("en_US.UTF-8", "", &presenter);
    ASSERT_EQ(fLoadCommonStrings(state), status::kSuccess);
    sShowErrMsg(state, 16);
    sShowErrMsg(state, -1);
    EXPECT_EQ(presenter.count(), 0);
    sShowErrMsg(state, 14);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.lastText(), QStringLiteral("The Software is running !"));
    EXPECT_EQ(presenter.shown[0].caption, state.appTitle);

    sShowRangeMsgSng(state, state.messages[11], 1, 9999);
    EXPECT_EQ(presenter.lastText(), QStringLiteral("The range of sampling time is    1.0--9999.0"));
    EXPECT_EQ(presenter.shown.last().caption, QStringLiteral("Error Message"));
    EXPECT_EQ(int(presenter.shown.last().icon), int(MessagePresenter::Icon::Information));
    sShowRangeMsgLng(state, state.messages[12], 1, 65500);
    EXPECT_EQ(presenter.lastText(), QStringLiteral("The range of sampling number is    1--65500"));
    sShowRangeMsgSng(state, state.messages[10], 0, 100);
    EXPECT_EQ(presenter.lastText(), QStringLiteral("The range of velocity  is    0.0--100.0"));
}

TEST(AppStateVersion, MinorAndRevisionAreOneDigitEach)
{
    EXPECT_EQ(makeVersionText(1, 0, 2), QStringLiteral("Ver.1.02"));
    EXPECT_EQ(makeVersionText(1, 0, 0), QStringLiteral("Ver.1.00"));
    EXPECT_EQ(makeVersionText(2, 10, 3), QStringLiteral("Ver.2.103"));
}

class AcqSettingsFile : public ::testing::Test
{
protected:
    std::unique_ptr<SettingsStore> store(const char *raw = nullptr)
    {
        const QString path = m_dir.path() + QStringLiteral("/acq.ini");
        if (raw) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(raw);
        }
        return SettingsStore::forFile(path);
    }
    QString raw() const
    {
        QFile f(m_dir.path() + QStringLiteral("/acq.ini"));
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }
    QTemporaryDir m_dir;
};

TEST_F(AcqSettingsFile, EmptyStoreGivesTheDefaults)
{
    AppState state;
    state.velXPosition = 99;
    AcqSettings::sLoadSettings(state, *store());
    EXPECT_EQ(state.velXRange, 60);
    EXPECT_DOUBLE_EQ(state.velYMax, 60);
    EXPECT_EQ(state.flowXRange, 100);
    EXPECT_EQ(state.flowYMax, 600);
    EXPECT_EQ(state.ductShape, 0);
    EXPECT_DOUBLE_EQ(state.ductDiameter, 10.0);
    EXPECT_DOUBLE_EQ(state.ductHeight, 10.0);
    EXPECT_DOUBLE_EQ(state.ductWidth, 10.0);
    EXPECT_DOUBLE_EQ(state.ductArea, 10.0);
    EXPECT_EQ(state.velocityUnit, 0);
    EXPECT_EQ(state.flowUnit, 0);
    EXPECT_EQ(state.ductUnit, 0);
    EXPECT_FLOAT_EQ(state.sampleTime, 1.0f);
    EXPECT_EQ(state.sampleCount, 65500);
    EXPECT_EQ(state.sampleType, 1);
    EXPECT_EQ(state.portNumber, 1);
    EXPECT_EQ(state.baudRate, 19200);
    EXPECT_DOUBLE_EQ(state.velXPosition, 0);
    const AcqSettings::WindowSettings w = AcqSettings::readWindow(*store());
    EXPECT_EQ(w.twips, QRectF(1000, 1000, 6500, 6500));
    EXPECT_FLOAT_EQ(w.splitterFractions[2], 0.485f);
}

TEST_F(AcqSettingsFile, StoredValuesAreReadAndUnusableOnesTakeTheirDefault)
{
    AppState state;
    AcqSettings::sLoadSettings(state, *store("[Measurement%20Parameter]\n"
                                             "Sample%20Time=0.5\nSample%20Num=100000\nSample%20Type=0\n"
                                             "Baud%20Rate=38400\nRS232c%20Port=abc\n"
                                             "[unit parameter]\nwind%20speed%20Unit=2\nwind%20capacity%20Unit=3\n"
                                             "wind%20mouth%20Unit=-1\n"
                                             "[Graph%20Parameter]\nXAxies%20Range%20Wind%20Speed=0\n"
                                             "YAxies%20Max%20Wind%20Speed=18000\n"
                                             "[Capacity%20Parameter]\nWind%20Mouth%20Shape=1\n"
                                             "Wind%20Mouth%20Diameter=150\nWind%20Mouth%20Area=17662.5\n"));
    EXPECT_FLOAT_EQ(state.sampleTime, 0.5f); // sub-second intervals stay as stored
    EXPECT_EQ(state.sampleCount, 65500);     // outside 1..65500
    EXPECT_EQ(state.sampleType, 0);
    EXPECT_EQ(state.baudRate, 38400);
    EXPECT_EQ(state.portNumber, 1);
    EXPECT_EQ(state.velocityUnit, 0); // no unit 2
    EXPECT_EQ(state.flowUnit, 3);
    EXPECT_EQ(state.ductUnit, 0);
    EXPECT_EQ(state.velXRange, 60); // a range must be positive
    EXPECT_DOUBLE_EQ(state.velYMax, 18000);
    EXPECT_EQ(state.ductShape, 1);
    EXPECT_DOUBLE_EQ(state.ductArea, 17662.5);

    for (const char *bad : {"0", "-1", "nan", "1e40", "x"}) {
        AppState s;
        const QByteArray text = QByteArray("[Measurement Parameter]\nSample%20Time=") + bad + "\n";
        AcqSettings::sLoadSettings(s, *store(text.constData()));
        EXPECT_FLOAT_EQ(s.sampleTime, 1.0f) << bad;
    }
}

TEST_F(AcqSettingsFile, WindowValuesOutsideTheirRangeTakeTheDefault)
{
    const AcqSettings::WindowSettings w = AcqSettings::readWindow(
        *store("[Windows]\nMain%20Left=-300\nMain%20Top=1e999\nMain%20Width=9000\n"
               "Splitter%20Position1=1.5\nSplitter%20Position2=0.25\nSplitter%20Position3=-0.1\n"));
    EXPECT_DOUBLE_EQ(w.twips.left(), -300);
    EXPECT_DOUBLE_EQ(w.twips.top(), 1000);
    EXPECT_DOUBLE_EQ(w.twips.width(), 9000);
    EXPECT_FLOAT_EQ(w.splitterFractions[0], 0.5f);
    EXPECT_FLOAT_EQ(w.splitterFractions[1], 0.25f);
    EXPECT_FLOAT_EQ(w.splitterFractions[2], 0.485f);
}

TEST_F(AcqSettingsFile, WrittenSettingsReadBackWithDotsAndOneMeasurementSection)
{
    AppState state;
    state.sampleTime = 0.5f;
    state.sampleCount = 1234;
    state.ductWidth = 100;
    state.ductHeight = 200;
    state.ductArea = 20000;
    state.velYMax = 12.3;
    state.velXPosition = 5000;
    auto s = store("[Measurement%20Parameter]\nSample%20Time=2\n");
    AcqSettings::writeSettings(state, *s);
    AcqSettings::writeWindow(*s, {QRectF(1500, 1200, 9000.5, 7000), {0.4f, 0.6f, 0.3f}});
    ASSERT_TRUE(s->sync());
    EXPECT_DOUBLE_EQ(state.velXPosition, 0);

    const QString text = raw();
    EXPECT_TRUE(text.contains(QStringLiteral("Sample%20Time=0.5"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("YAxies%20Max%20Wind%20Speed=12.3")));
    EXPECT_TRUE(text.contains(QStringLiteral("Main%20Width=9000.5")));
    EXPECT_TRUE(text.contains(QStringLiteral("Splitter%20Position1=0.4")));
    EXPECT_FALSE(text.contains(QStringLiteral("Display%20ATM"))); // option flags are not written here
    EXPECT_EQ(text.count(QStringLiteral("Sample%20Time")), 1);

    AppState back;
    AcqSettings::sLoadSettings(back, *store());
    EXPECT_FLOAT_EQ(back.sampleTime, 0.5f);
    EXPECT_EQ(back.sampleCount, 1234);
    EXPECT_DOUBLE_EQ(back.ductArea, 20000);
    EXPECT_DOUBLE_EQ(back.velYMax, 12.3);
}

} // namespace
