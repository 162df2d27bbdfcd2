#pragma once
#include <string>

#include "platform/port.h"

namespace kestrane {

enum class Buttons { Ok, OkCancel, YesNoCancel, YesNo };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No };

class Dialogs : public Port {
 public:
  // A modal message box; closing it with the close box answers Cancel (or Ok where Ok is alone).
  virtual Answer MessageBox(const std::string& body, const std::string& title, Buttons buttons,
                            Icon icon) = 0;
  // A modal input box with an empty field; Cancel gives the empty string.
  virtual std::string InputBox(const std::string& prompt, const std::string& title) = 0;
};

}  // namespace kestrane
