#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "tests/support/recording_presenter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

AppState stateFor(const char *lang, const char *languageEnv,
                  venttest::RecordingPresenter *presenter)
{
    static StringTable table;
    if (table.isEmpty())
        table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"));
    AppState state;
    state.presenter = presenter;
    state.texts = Texts(&table, UiVariant::English);
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

// The system language picks the block and the font flag; the interface language (LANGUAGE) of a
// Japanese system may ask for the block's English texts.
TEST(AppStateStrings, BlockAndVariantFollowTheSystem)
{
    struct Case { const char *lang, *languageEnv; qint16 id, offset, fontFlag; const char *notSaved; };
    const Case cases[] = {
        {"en_US.UTF-8", "", 1033, 0, 0, "Data is not saved.   Do you save it ?"},
        {"ja_JP.UTF-8", "", 1041, 10000, 128, "データを保存していません。保存しますか。"},
        {"ja_JP.UTF-8", "en", 1041, 10000, 0, "Data is not saved.   Do you save it ?"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + c.languageEnv);
        venttest::RecordingPresenter presenter;
        AppState state = stateFor(c.lang, c.languageEnv, &presenter);
        ASSERT_EQ(fLoadCommonStrings(state), status::kSuccess);
        EXPECT_EQ(std::tuple(state.systemLanguageId, state.languageOffset, state.fontChangeFlag,
                             state.msgNotSaved),
                  std::tuple(c.id, c.offset, c.fontFlag, QString::fromUtf8(c.notSaved)));
        EXPECT_EQ(state.programStatusTexts[0], QStringLiteral("Measurement")); // always English
        EXPECT_EQ(presenter.count(), 0);
    }
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
    const auto &shown = presenter.shown[0];
    EXPECT_EQ(std::tuple(shown.text, shown.caption, int(shown.icon)),
              std::tuple("Error reading from resource file.", "Ventolux Data Acquisition Software",
                         int(MessagePresenter::Icon::Exclamation)));
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
    EXPECT_EQ(std::pair(presenter.lastText(), presenter.shown[0].caption),
              std::pair(QStringLiteral("The Software is running !"), state.appTitle));

    sShowRangeMsgLng(state, state.messages[12], 1, 65500);
    EXPECT_EQ(std::pair(presenter.shown.last().caption, int(presenter.shown.last().icon)),
              std::pair(QStringLiteral("Error Message"), int(MessagePresenter::Icon::Information)));
}

TEST(AppStateVersion, MinorAndRevisionAreOneDigitEach)
{
    EXPECT_EQ(std::tuple(makeVersionText(1, 0, 2), makeVersionText(1, 0, 0),
                         makeVersionText(2, 10, 3)),
              std::tuple("Ver.1.02", "Ver.1.00", "Ver.2.103"));
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

TEST_F(AcqSettingsFile, EmptyStoreGivesTheDefaultsAndStoredValuesAreRead)
{
    AppState state;
    state.velXPosition = 99;
    AcqSettings::sLoadSettings(state, *store());
    EXPECT_EQ(std::tuple(state.velXRange, state.velYMax, state.flowXRange, state.flowYMax,
                         state.velocityUnit, state.flowUnit, state.ductUnit),
              std::tuple(60, 60.0, 100, 600.0, 0, 0, 0));
    EXPECT_EQ(std::tuple(state.ductShape, state.ductDiameter, state.ductHeight, state.ductWidth,
                         state.ductArea),
              std::tuple(0, 10.0, 10.0, 10.0, 10.0));
    EXPECT_EQ(std::tuple(state.sampleTime, state.sampleCount, state.sampleType, state.portNumber,
                         state.baudRate, state.velXPosition),
              std::tuple(1.0f, 65500, 1, 1, 19200, 0.0));
    const AcqSettings::WindowSettings w = AcqSettings::readWindow(*store());
    EXPECT_EQ(w.twips, QRectF(1000, 1000, 6500, 6500));
    EXPECT_FLOAT_EQ(w.splitterFractions[2], 0.485f);

    AppState stored;
    AcqSettings::sLoadSettings(
        stored, *store("[Measurement%20Parameter]\nSample%20Time=0.5\nSample%20Num=100000\n"
                       "Sample%20Type=0\nBaud%20Rate=38400\nRS232c%20Port=abc\n"
                       "[unit parameter]\nwind%20speed%20Unit=2\nwind%20capacity%20Unit=3\n"
                       "wind%20mouth%20Unit=-1\n"
                       "[Graph%20Parameter]\nXAxies%20Range%20Wind%20Speed=0\n"
                       "YAxies%20Max%20Wind%20Speed=18000\n"
                       "[Capacity%20Parameter]\nWind%20Mouth%20Shape=1\n"
                       "Wind%20Mouth%20Diameter=150\nWind%20Mouth%20Area=17662.5\n"));
    EXPECT_EQ(std::tuple(stored.sampleTime, stored.sampleCount, stored.sampleType),
              std::tuple(0.5f, 65500, 0));
    EXPECT_EQ(std::tuple(stored.baudRate, stored.portNumber), std::tuple(38400, 1));
    EXPECT_EQ(std::tuple(stored.velocityUnit, stored.flowUnit, stored.ductUnit),
              std::tuple(0, 3, 0));
    EXPECT_EQ(std::tuple(stored.velXRange, stored.velYMax), std::tuple(60, 18000.0));
    EXPECT_EQ(std::tuple(stored.yFitToData, stored.chartExportDir), std::tuple(0, QString())); // keys added later
    EXPECT_EQ(std::tuple(stored.ductShape, stored.ductArea), std::tuple(1, 17662.5));
}

// Hand-edited values the program cannot use take their default; the largest and smallest usable
// ones are kept.
TEST_F(AcqSettingsFile, UnusableStoredValuesTakeTheirDefault)
{
    using Field = double (*)(const AppState &, const AcqSettings::WindowSettings &);
    const Field yMax = [](auto &s, auto &) { return s.velYMax; };
    const Field xRange = [](auto &s, auto &) { return double(s.velXRange); };
    const Field width = [](auto &s, auto &) { return s.ductWidth; };
    const Field area = [](auto &s, auto &) { return s.ductArea; };
    const Field splitter = [](auto &, auto &w) { return double(w.splitterFractions[0]); };
    const Field time = [](auto &s, auto &) { return double(s.sampleTime); };
    const Field top = [](auto &, auto &w) { return w.twips.top(); };
    const struct { const char *line; Field field; double expected; } cases[] = {
        {"[Graph Parameter]\nYAxies Max Wind Speed=0", yMax, 60},
        {"[Graph Parameter]\nXAxies Range Wind Speed=2592001", xRange, 60}, // above 30 days
        {"[Graph Parameter]\nXAxies Range Wind Speed=2592000", xRange, 2592000},
        {"[Capacity Parameter]\nWind Mouth Width=0", width, 10},
        {"[Capacity Parameter]\nWind Mouth Width=1000000.5", width, 10},
        {"[Capacity Parameter]\nWind Mouth Width=1000000", width, 1000000},
        {"[Capacity Parameter]\nWind Mouth Heitht=-0.001", [](auto &s, auto &) { return s.ductHeight; }, 10},
        {"[Capacity Parameter]\nWind Mouth Diameter=0", [](auto &s, auto &) { return s.ductDiameter; }, 10},
        {"[Capacity Parameter]\nWind Mouth Area=-20000", area, 10},
        {"[Capacity Parameter]\nWind Mouth Area=7850", area, 7850},
        {"[Windows]\nSplitter Position1=0", splitter, 0.5},
        {"[Windows]\nSplitter Position1=1", splitter, 0.5},
        {"[Windows]\nSplitter Position1=0.999", splitter, 0.999},
        {"[Windows]\nSplitter Position1=1.5", splitter, 0.5},
        {"[Windows]\nSplitter Position3=-0.1", [](auto &, auto &w) {
             return double(w.splitterFractions[2]); }, 0.485},
        {"[Windows]\nMain Top=1e999", top, 1000},
        {"[Windows]\nMain Left=-300", [](auto &, auto &w) { return w.twips.left(); }, -300},
        {"[Measurement Parameter]\nSample Time=0", time, 1},
        {"[Measurement Parameter]\nSample Time=-1", time, 1},
        {"[Measurement Parameter]\nSample Time=nan", time, 1},
        {"[Measurement Parameter]\nSample Time=1e40", time, 1},
        {"[Measurement Parameter]\nSample Time=x", time, 1},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir; // a file of its own: same size and second would read the cached one
        QFile f(dir.filePath("acq.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(c.line).replace(' ', "%20") + "\n") > 0);
        f.close();
        const auto s = SettingsStore::forFile(f.fileName());
        AppState state;
        AcqSettings::sLoadSettings(state, *s);
        EXPECT_FLOAT_EQ(float(c.field(state, AcqSettings::readWindow(*s))), float(c.expected)) << c.line;
    }
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
    state.yFitToData = 1;
    state.chartExportDir = QStringLiteral("/home/ops/Reports");
    auto s = store("[Measurement%20Parameter]\nSample%20Time=2\n");
    AcqSettings::writeSettings(state, *s);
    AcqSettings::writeWindow(*s, {QRectF(1500, 1200, 9000.5, 7000), {0.4f, 0.6f, 0.3f}});
    ASSERT_TRUE(s->sync());
    EXPECT_DOUBLE_EQ(state.velXPosition, 0);

    const QString text = raw();
    for (const char *line : {"Sample%20Time=0.5", "YAxies%20Max%20Wind%20Speed=12.3",
                             "Main%20Width=9000.5", "Splitter%20Position1=0.4", "Fit%20To%20Data=1"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Display%20ATM"))); // option flags are not written here
    EXPECT_EQ(text.count(QStringLiteral("Sample%20Time")), 1);

    AppState back;
    AcqSettings::sLoadSettings(back, *store());
    EXPECT_EQ(std::tuple(back.sampleTime, back.sampleCount, back.ductArea, back.velYMax),
              std::tuple(0.5f, 1234, 20000.0, 12.3));
    EXPECT_EQ(std::tuple(back.yFitToData, back.chartExportDir), std::tuple(1, state.chartExportDir));
}

} // namespace
