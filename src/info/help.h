#pragma once

namespace kestrane {

// HH_HELP_CONTEXT: show the topic the file maps to a number.
inline constexpr unsigned kHelpContext = 0x000F;

}  // namespace kestrane
