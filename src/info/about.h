#pragma once
#include "app/window_layout.h"

namespace kestrane {

// frmAbout as designed, its texts filled in as its load sets them.
struct AboutBox {
  WindowSpec window;
};

AboutBox BuildAboutBox();

}  // namespace kestrane
