#pragma once

// ventlink's settings: sections and keys under the application name "Ventolux PC-LINK Software".
// The option flags ("measurement Parameter") are OptionFlags'.
namespace linksettings {

constexpr auto kWindowsSection = "Windows";
constexpr auto kMainLeft = "Main Left";
constexpr auto kMainTop = "Main Top";
constexpr auto kMainWidth = "Main Width";
constexpr auto kMainHeight = "Main Height";

// Default window rectangle, in twips.
constexpr double kDefaultLeft = 3030;
constexpr double kDefaultTop = 1995;
constexpr double kDefaultWidth = 11790;
constexpr double kDefaultHeight = 9315;

constexpr auto kPathSection = "Path";
constexpr auto kDriver = "Driver"; // the selected drive (a mount point such as "/")
constexpr auto kPath = "Path";     // the selected folder

} // namespace linksettings
