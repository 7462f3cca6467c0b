#pragma once

#include <QRectF>
#include <array>

class SettingsStore;
struct AppState;

// ventacq's settings: sections, keys, defaults and the rules of what a stored value may be.
// A value that does not parse, or that the program could not index, divide by or use (a duct
// size or area, a velocity maximum of 0 or less, a time range above 30 days, a splitter fraction
// that hides a pane), reads as its default. Numbers are written with "." whatever the locale.
class AcqSettings
{
public:
    static constexpr auto kApplicationTitle = "Ventolux Data Acquisition Software";

    static constexpr auto kGraphSection = "Graph Parameter";
    static constexpr auto kVelXRange = "XAxies Range Wind Speed";
    static constexpr auto kVelYMax = "YAxies Max Wind Speed";
    static constexpr auto kFlowXRange = "XAxies Max Wind Capacity";
    static constexpr auto kFlowYMax = "YAxies Max Wind Capacity";
    // Added next to the four above; a file without it reads as off.
    static constexpr auto kYFitToData = "Fit To Data";

    static constexpr auto kExportSection = "Chart Export";
    static constexpr auto kExportFolder = "Folder";

    static constexpr auto kCapacitySection = "Capacity Parameter";
    static constexpr auto kDuctShape = "Wind Mouth Shape";
    static constexpr auto kDuctDiameter = "Wind Mouth Diameter";
    static constexpr auto kDuctHeight = "Wind Mouth Heitht";
    static constexpr auto kDuctWidth = "Wind Mouth Width";
    static constexpr auto kDuctArea = "Wind Mouth Area";

    static constexpr auto kUnitSection = "Unit Parameter";
    static constexpr auto kVelocityUnit = "wind speed Unit";
    static constexpr auto kFlowUnit = "wind capacity Unit";
    static constexpr auto kDuctUnit = "wind mouth Unit";

    // Read as "Measurement Parameter", written as "measurement Parameter": one section.
    static constexpr auto kMeasurementSection = "measurement Parameter";
    static constexpr auto kSampleTime = "Sample Time";
    static constexpr auto kSampleNum = "Sample Num";
    static constexpr auto kSampleType = "Sample Type";
    static constexpr auto kPort = "RS232c Port";
    static constexpr auto kBaudRate = "Baud Rate";

    // "Windows": the window rectangle (WindowPlacement's keys) and the splitter fractions.
    static constexpr auto kWindowsSection = "Windows";
    static constexpr auto kSplitter1 = "Splitter Position1";
    static constexpr auto kSplitter2 = "Splitter Position2";
    static constexpr auto kSplitter3 = "Splitter Position3";

    static constexpr int kMaxSampleCount = 65500;
    // The longest time range the graph parameter dialog offers: 30 days.
    static constexpr qint32 kMaxXRange = 30 * 86400;

    // The window's stored geometry in twips and the three splitter fractions.
    struct WindowSettings
    {
        QRectF twips{1000, 1000, 6500, 6500};
        std::array<float, 3> splitterFractions{0.5f, 0.5f, 0.485f};
    };

    // The seventeen rows of start-up: graph, duct, unit and measurement settings (and the fit
    // switch and export folder next to them); velXPosition becomes 0.
    static void sLoadSettings(AppState &state, const SettingsStore &store);
    // What the main window writes at unload (all rows but the option flags and "Windows");
    // velXPosition is reset to 0 first.
    static void writeSettings(AppState &state, SettingsStore &store);

    static WindowSettings readWindow(const SettingsStore &store);
    static void writeWindow(SettingsStore &store, const WindowSettings &window);
};
