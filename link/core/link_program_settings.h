#pragma once

// ventlink's settings: sections and keys under the application name "Ventolux PC-LINK Software".
// The option flags ("measurement Parameter") are OptionFlags'.
namespace linksettings {

// Default window rectangle ("Windows" keys, see WindowPlacement), in twips.
constexpr double kDefaultLeft = 3030;
constexpr double kDefaultTop = 1995;
constexpr double kDefaultWidth = 11790;
constexpr double kDefaultHeight = 9315;

constexpr auto kPathSection = "Path";
constexpr auto kDriver = "Driver"; // the selected drive (a mount point such as "/")
constexpr auto kPath = "Path";     // the selected folder

} // namespace linksettings
