#pragma once
#include <array>

namespace kestrane {

// One entry of File > Help: its command, its name in the window description and the topic number
// the help file maps to its page.
struct HelpTopic {
  int command;
  const char* name;
  unsigned long topic;
};

// HH_HELP_CONTEXT: show the topic the file maps to a number.
inline constexpr unsigned kHelpContext = 0x000F;

// The entries in menu order. The numbers do not rise in that order; they are the help file's.
const std::array<HelpTopic, 10>& HelpTopics();

}  // namespace kestrane
