#pragma once
#include <string>

#include "app/window_layout.h"

namespace kestrane {

// frmAbout as designed, its texts filled in as its load sets them.
struct AboutBox {
  WindowSpec window;
};

// A fresh About box each time: nothing of an earlier opening is kept.
AboutBox BuildAboutBox();

// The version check's message and the page it offers to open.
std::string VersionCheckMessage();
std::string ProductPageAddress();

}  // namespace kestrane
