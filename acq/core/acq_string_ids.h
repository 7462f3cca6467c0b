#pragma once

// String-table IDs of ventacq used from code (the neutral block; add the language offset for the
// localized block where the text follows the language).
namespace acqid {

constexpr int kAppTitle = 510;
constexpr int kSimulation = 520;
constexpr int kCancel = 601;
constexpr int kOk = 602;
constexpr int kYes = 611;
constexpr int kNo = 612;
constexpr int kMsgCancel = 613;
constexpr int kFilterCsv = 651;
constexpr int kFilterTxt = 652;
constexpr int kFontFace = 701;
constexpr int kFontSize = 710;
constexpr int kStatusDisplay = 751;
constexpr int kStatusMeasurement = 752;
constexpr int kDataStatusFirst = 761; // 761..764
constexpr int kFontCharset = 791;
constexpr int kNotSaved = 801;
constexpr int kOverwrite = 802;
constexpr int kConfirmStop = 820;
constexpr int kMessageFirst = 901; // messages[i] = 901 + i, i = 0..15
constexpr int kSampleTypeInstant = 2125;
constexpr int kSampleTypeAverage = 2126;
constexpr int kVelocityUnitFirst = 2132; // 2132..2133
constexpr int kFlowUnitFirst = 2142;     // 2142..2145
constexpr int kDuctUnitFirst = 2152;     // 2152..2154
constexpr int kShapeRectangle = 2162;
constexpr int kShapeCircle = 2165;
constexpr int kFileHeaderFirst = 6001; // 6001..6022
// Chart export and "Fit to data".
constexpr int kExportChart = 7060;       // menu and context-menu caption
constexpr int kExportStartTime = 7061;   // title line of a picture, %1 the run's start
constexpr int kExportTimeAxis = 7062;    // title of the time axis in a picture
constexpr int kExportFilterFirst = 7063; // 7063..7065: PNG, PDF, SVG (description|pattern)
constexpr int kExportFailed = 7066;      // %1 the file
constexpr int kFitToData = 7067;

// Statistics window and cursor readout.
constexpr int kStatisticsCommand = 7020;  // View menu caption
constexpr int kStatisticsTitle = 7021;
constexpr int kStatisticsWholeRun = 7022;
constexpr int kStatisticsPage = 7023;
constexpr int kStatisticsVelocity = 7024;
constexpr int kStatisticsFlow = 7025;
constexpr int kStatisticsHeading = 7026;  // %1 (%2), %3: quantity, unit, scope
constexpr int kStatisticsSamples = 7027;  // 7027..7032: samples, gaps, minimum, maximum, mean,
                                          // standard deviation
constexpr int kStatisticsCopy = 7033;
constexpr int kStatisticsClose = 7034;
constexpr int kCursorReadout = 7035;      // %1 sample, %2 time, %3 velocity, %4 flow rate
constexpr int kCursorReadoutTip = 7036;

// File > Open.
constexpr int kOpenCaption = 7001;     // "Open..."
constexpr int kFilterAll = 7002;       // "All files(*)|*"
constexpr int kOpenFailed = 7003;      // "This file cannot be opened as a measurement:\n%1"
constexpr int kOpenNotARun = 7004;
constexpr int kOpenNoSamples = 7005;
constexpr int kOpenDamagedLine = 7006; // %1: the line
constexpr int kOpenTooLarge = 7007;

// Fixed texts: shown or written as they stand in every language (neutral block only).
constexpr int kFixedSec = 9501;
constexpr int kFixedTimes = 9502;
constexpr int kFixedProgressSeparator = 9503;
constexpr int kFixedCom = 9504;
constexpr int kFixedBps = 9505;
constexpr int kFixedUsb = 9506;
constexpr int kFixedDateTimeHeader = 9511;
constexpr int kFixedVelocityHeader = 9512;
constexpr int kFixedFlowHeader = 9513;
constexpr int kFixedCloseParen = 9514;
constexpr int kFixedAtmHeader = 9515;
constexpr int kFixedVelocityAxis = 9516;
constexpr int kFixedFlowAxis = 9517;
constexpr int kFixedErrorMessageCaption = 9521;
constexpr int kFixedSimulationSuffix = 9522;
// Atmosphere cells of the data tables: an error flag, no value (English), no value (other languages).
constexpr int kFixedAtmError = 9541;
constexpr int kFixedAtmNone = 9542;
constexpr int kFixedAtmNoneLocal = 9543;

} // namespace acqid
