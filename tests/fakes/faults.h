#pragma once
#include <map>

namespace kestrane::fakes {

// The port calls a test can make fail, one name each, so that a misspelt call does not compile.
#define KESTRANE_FAKE_CALLS(X) \
  X(ControlsListAdd)           \
  X(ControlsListClear)         \
  X(DialogsInputBox)           \
  X(DialogsMessageBox)         \
  X(DrivesLetters)             \
  X(DrivesSerialNumber)        \
  X(DrivesType)                \
  X(FilesAppendLine)           \
  X(FilesDelete)               \
  X(FilesDirectoryExists)      \
  X(FilesFileExists)           \
  X(FilesOpenRecords)          \
  X(FilesReadLines)            \
  X(FilesReplaceLines)         \
  X(FilesSubFolders)           \
  X(ProcessesRunCaptured)      \
  X(ProcessesRunHidden)        \
  X(RecordFileRead)            \
  X(RecordFileWrite)           \
  X(ShellAppDataFolder)        \
  X(ShellHtmlHelp)             \
  X(ShellStartupFolder)        \
  X(ShellSystemFolder)         \
  X(ShellVersion)

enum class Call {
#define KESTRANE_CALL_ENUM(name) name,
  KESTRANE_FAKE_CALLS(KESTRANE_CALL_ENUM)
#undef KESTRANE_CALL_ENUM
};

// The call's name, for test names and messages.
inline const char* NameOf(Call call) {
  switch (call) {
#define KESTRANE_CALL_NAME(name) \
  case Call::name: return #name;
    KESTRANE_FAKE_CALLS(KESTRANE_CALL_NAME)
#undef KESTRANE_CALL_NAME
  }
  return "?";
}

// A box that cannot be shown has nobody to tell; the window's own barrier answers for it.
inline bool IsDialogCall(Call call) {
  return call == Call::DialogsInputBox || call == Call::DialogsMessageBox;
}

// Tells a fake's call to fail with a classic error number on its n-th call.
class Faults {
 public:
  void Arm(Call call, int nth, int number) { armed_[call] = {nth, number}; }
  // Every call from the n-th on fails.
  void ArmFrom(Call call, int nth, int number) { armed_[call] = {nth, number, true}; }
  void Clear() {
    armed_.clear();
    counts_.clear();
  }
  // Counts the call and throws FileError when it is the armed one.
  void Check(Call call);
  int Count(Call call) const {
    auto it = counts_.find(call);
    return it == counts_.end() ? 0 : it->second;
  }
  const std::map<Call, int>& Counts() const { return counts_; }

 private:
  struct Shot {
    int nth = 0;
    int number = 0;
    bool onward = false;
  };
  std::map<Call, Shot> armed_;
  std::map<Call, int> counts_;
};

}  // namespace kestrane::fakes
