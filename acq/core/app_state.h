#pragma once

#include "acq/driver/measurement_driver.h"
#include "common/core/language.h"
#include "common/core/option_flags.h"
#include "common/core/port_tables.h"
#include "common/core/string_table.h"

#include <QString>
#include <array>
#include <memory>

class MessagePresenter;
class QObject;

// The one process-wide state of ventacq: language and cached texts, run state, measurement
// parameters, graph settings, option flags, file names and tick counters. Every part of the
// program reads and writes it; it lives for the whole process.
struct AppState
{
    // Language.
    qint16 languageOffset = 0;
    qint16 systemLanguageId = 0;
    Texts texts; // the string table and the user-interface variant

    QString versionText;
    QString appTitle;
    QString msgNotSaved;
    QString msgOverwrite;
    QString msgConfirmStop;
    std::array<QString, 22> fileHeaderTexts;

    qint16 paramDialogResult = 1000;
    qint16 idle = 1;
    std::array<QString, 2> programStatusTexts;
    qint32 dataState = 1;
    std::array<QString, 4> dataStatusTexts;
    qint16 statusCode = -10000;
    QString messageText;
    std::array<QString, 2> sampleTypeNames;
    std::array<QString, 2> velocityUnitNames;
    std::array<QString, 4> flowUnitNames;
    std::array<QString, 3> ductUnitNames;
    std::array<QString, 2> ductShapeNames;

    QString currentDir;
    QString currentFileName;
    QString currentFilePath;
    QString lastDataPath;
    std::array<QString, 2> fileFilters;

    float graphTimeStep = 0.1f;
    qint32 receivedCount = 0;
    double startSecond = 0;
    qint16 simulation = 0;
    qint16 fontChangeFlag = 0;
    std::array<QString, 16> messages;

    qint16 velocityUnit = 0;
    qint16 flowUnit = 0;
    qint16 ductUnit = 0;

    std::unique_ptr<MeasurementDriver> driver;
    bool measuring = false;

    // Serial link.
    qint16 portNumber = 1;
    qint32 baudRate = 19200;
    qint32 serialTicks = 0;
    qint32 waitTicks = 0;

    // Graph parameters.
    qint32 velXRange = 60;
    double velXPosition = 0;
    double velYMax = 60;
    double flowXPosition = 0;
    qint32 flowYMax = 600;
    qint32 flowXRange = 100;
    // "Fit to data": both value axes follow the samples on display (0 off, 1 on).
    qint16 yFitToData = 0;
    // The folder the chart export dialog opens in (empty: the save folder).
    QString chartExportDir;

    // Duct.
    qint16 ductShape = 0;
    double ductWidth = 10.0;
    double ductHeight = 10.0;
    double ductDiameter = 10.0;
    double ductArea = 10.0;

    // Measurement.
    float sampleTime = 1.0f;
    qint32 sampleCount = 65500;
    qint16 sampleType = 1;
    double startTime = 0; // day number of the run's start

    QObject *mainWindow = nullptr;

    // Options.
    qint16 atmDisplay = 1;
    qint16 atmSave = 1;
    qint16 atmEnable = 1;
    qint16 usbEnable = 1;

    // Attached instruments and the chosen one.
    PortTables ports;
    QString usbSerialText;
    QString portPath; // device path of the chosen port

    // How messages reach the user (real message boxes, or a test's recorder).
    MessagePresenter *presenter = nullptr;

    // The file of a run opened with File > Open while it is on display ("Save" copies it instead
    // of the data file); empty after New and from the start of a run.
    QString openedRunPath;

    OptionFlags optionFlags() const { return {atmDisplay, atmSave, atmEnable, usbEnable}; }
    void setOptionFlags(const OptionFlags &f);

    // A text of the active block: id + languageOffset.
    QString localText(int id) const { return texts.value(languageOffset + id); }
};

// Version text "Ver.<major>.<minor><revision>", minor and revision each written with "0":
// 1, 0, 2 gives "Ver.1.02".
QString makeVersionText(int major, int minor, int revision);

// Picks the language from the locale: systemLanguageId, languageOffset and the text variant.
void sSelectLanguage(AppState &state, const Language::Choice &choice);

// Fills the cached texts from the string table. Returns -10000, or -20000 after showing
// "Error reading from resource file." when a text is missing (nothing is changed then).
qint16 fLoadCommonStrings(AppState &state);

// Shows a message box (exclamation icon, captioned appTitle) with messages[index]; an index
// below 0 or above 15 shows nothing.
void sShowErrMsg(AppState &state, int index);
// The same with a text of its own.
void sShowErrMsg(AppState &state, const QString &text);

// The exact text shown when a string cannot be read; it cannot come from the table itself.
inline constexpr auto kResourceErrorText = "Error reading from resource file.";

// The range messages of the parameter dialogs: an information box captioned "Error Message"
// with the prefix, one more blank and the limits ("#0.0" for single-precision limits, plain
// decimal for whole-number limits).
void sShowRangeMsgSng(AppState &state, const QString &prefix, float minimum, float maximum);
void sShowRangeMsgLng(AppState &state, const QString &prefix, qint32 minimum, qint32 maximum);
