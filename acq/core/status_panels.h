#pragma once

#include <QString>
#include <array>
#include <optional>

struct AppState;

// Texts of the seven status-bar panels of ventacq, worked out from the application state.
//   1 program status, 2 data status, 3 sampling time, 4 sampling number (or progress),
//   5 sample type, 6 port or the chosen instrument's serial text, 7 baud rate or "USB".
class StatusPanels
{
public:
    static constexpr int kPanels = 7;

    static QString programStatus(const AppState &state); // panel 1, blanks trimmed
    static QString dataStatus(const AppState &state);    // panel 2
    static QString sampleType(const AppState &state);    // panel 5
    static QString port(const AppState &state);          // panel 6
    static QString baudRate(const AppState &state);      // panel 7

    // Panels 3 and 4 (sShowMeasuParam): `count` samples just arrived in this poll (0 otherwise).
    struct MeasureParam
    {
        QString samplingTime;                // panel 3 text
        QString samplingNumber;              // panel 4 text
        std::optional<QString> samplingTimeTip; // no value: leave the tip as it is
        QString samplingNumberTip;
    };
    // The three tips the main window keeps: 1306, 1307 and 1317 of the active block.
    struct Tips
    {
        QString samplingTime;
        QString samplingNumberIdle;
        QString samplingNumberRunning;
    };
    static MeasureParam measureParam(const AppState &state, qint32 count, const Tips &tips);
};

// The commands of ventacq's menu bar and tool bar that change their enabled state.
enum class AcqCommand {
    New,
    Save,
    Exit,
    MeasureStart,
    MeasureStop,
    GraphPEdit,
    StatusBar,
    ToolsBar,
    About,
    ExportChart,
    Open, // File > Open: a saved run back into the tables and charts
    Count
};

// sShowMenuStat: which commands are on, off or kept as they are for the program and data state.
class CommandStates
{
public:
    enum class State { On, Off, Kept };
    using Table = std::array<State, size_t(AcqCommand::Count)>;

    // `starting` is true from the start of sStartMeasu until it returns: the commands are then
    // as during a run, so nothing can re-enter the probe.
    // `openedRun`: a run opened from a file is on display (Save makes another copy of it).
    static Table forState(qint16 idle, qint32 dataState, bool starting = false, bool openedRun = false);
};
