#pragma once
#include <functional>
#include <optional>
#include <span>

#include "platform/file_error.h"

namespace kestrane {

// What a command does when one of its steps fails.
enum class OnFailure {
  Retry,  // run the step again, up to the command's number of tries, then go on without it
  Skip,   // go on with the next step
  End,    // end the command; its caller reports the failure
};

// What a step that succeeded tells the command.
enum class Flow { Next, End };

// One step of a command whose failures follow a policy by number: the file layer's device, disk,
// permission and path failures (68 to 71, 75, 76) have one answer, every other failure another.
struct Step {
  std::function<Flow()> run;
  OnFailure onAccessFailure;
  OnFailure onOtherFailure;
};

struct StepsResult {
  bool ended = false;                // a step ended the command, by its flow or its failure
  std::optional<FileError> failure;  // the failure that ended it, if one did
};

// 68 to 71, 75 and 76.
bool IsAccessFailure(int number);

// Runs the steps in order until one ends the command. Failures that are not FileErrors count as
// other failures, with the number of an invalid call (5).
StepsResult RunSteps(std::span<const Step> steps, int tries);

}  // namespace kestrane
