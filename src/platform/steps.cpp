#include "platform/steps.h"

#include <exception>

namespace kestrane {

namespace {

OnFailure Answer(const Step& step, int number) {
  return IsAccessFailure(number) ? step.onAccessFailure : step.onOtherFailure;
}

}  // namespace

bool IsAccessFailure(int number) {
  return (number >= err::kDeviceUnavailable && number <= err::kDiskNotReady) ||
         number == err::kPathFileAccess || number == err::kPathNotFound;
}

StepsResult RunSteps(std::span<const Step> steps, int tries) {
  for (const Step& step : steps) {
    for (int attempt = 1;; ++attempt) {
      std::optional<FileError> failure;
      try {
        if (step.run() == Flow::End) return {true, std::nullopt};
        break;
      } catch (const FileError& e) {
        failure = e;
      } catch (const std::exception& e) {
        failure = FileError(err::kInvalidCall, e.what());
      }
      const OnFailure answer = Answer(step, failure->Number());
      if (answer == OnFailure::End) return {true, failure};
      if (answer == OnFailure::Skip || attempt >= tries) break;
    }
  }
  return {};
}

}  // namespace kestrane
