#pragma once

// String-table IDs of ventlink used from code (the neutral block; add the language offset for the
// localized block where the text follows the language).
namespace linkid {

constexpr int kAppTitle = 502;
constexpr int kClose = 601;
constexpr int kReadData = 602;
constexpr int kCancel = 603;
constexpr int kOptions = 604;
constexpr int kDriveLabel = 651;
constexpr int kFileNameLabel = 652;
constexpr int kStatusLabel = 653;
constexpr int kDataListLabel = 654;
constexpr int kDegC = 671;
constexpr int kDegF = 672;
constexpr int kFontFace = 701;
constexpr int kFontSize = 710;
constexpr int kStatusDisplay = 751;
constexpr int kStatusReadData = 752;
constexpr int kFontCharset = 791;
constexpr int kMessageFirst = 901; // error text n = 900 + n, n = 1..11
constexpr int kPortLabel = 912;
constexpr int kDownloadProgress = 921; // "Receiving: %1 lines, %2 readings, %3"
constexpr int kDownloadSaved = 922;    // "%1 readings saved to %2"
constexpr int kDownloadStopped = 923;  // "Stopped after %1 lines, %2 readings; nothing saved"
constexpr int kCloseWhileDownloading = 924; // "A download is running. Stop it and close?"

// Fixed texts: shown or written as they stand in every language (neutral block only).
constexpr int kFixedNo = 9541;
constexpr int kFixedX = 9542;
constexpr int kFixedY = 9543;
constexpr int kFixedInchMm = 9544;
constexpr int kFixedPressOpen = 9545; // "Press("
constexpr int kFixedVelOpen = 9546;   // "Vel("
constexpr int kFixedAflowOpen = 9547; // "AFLOW("
constexpr int kFixedClose = 9548;     // ")"
constexpr int kFixedType = 9549;      // "Type"
constexpr int kFixedTempOpen = 9550;  // "Temp( "
constexpr int kFixedTempClose = 9551; // " )"
constexpr int kFixedAtmHpa = 9552;    // "ATM(hPa)"
constexpr int kFixedAtmFlag = 9553;   // "ATM F"
constexpr int kFixedCsvExtension = 9554; // ".CSV"
constexpr int kFixedOk = 9555;        // button of the message dialog
constexpr int kFixedAtmError = 9556;  // "Err": the instrument flagged its pressure reading
constexpr int kFixedAtmNone = 9557;   // "N": no pressure value (English)
constexpr int kFixedAtmNoneLocal = 9558; // "-": no pressure value (localized block)
constexpr int kFixedValue = 9559;     // column 6 of a memory of several quantities
constexpr int kFixedQuantity = 9560;  // its quantity column

} // namespace linkid
