#pragma once
#include <string>

#include "ui/window_design.h"

namespace kestrane {

// The About box's controls.
namespace about_ids {
inline constexpr int cmdOK = 1;  // IDOK
inline constexpr int picIcon = 3001;
inline constexpr int lblDescription = 3002;
inline constexpr int lblTitle = 3003;
inline constexpr int lblVersion = 3004;
inline constexpr int lblDisclaimer = 3005;
}  // namespace about_ids

// frmAbout as designed, its texts filled in as its load sets them; a fresh one each time, so
// nothing of an earlier opening is kept.
AboutBox BuildAboutBox();

// The version check's message and the page it offers to open.
std::string VersionCheckMessage();
std::string ProductPageAddress();

}  // namespace kestrane
