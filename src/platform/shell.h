#pragma once
#include <string>

#include "platform/port.h"

namespace kestrane {

struct OsVersion {
  unsigned long platformId = 0;
  unsigned long major = 0;
  unsigned long minor = 0;
};

struct FolderAnswer {
  int status = 0;  // 0 found, 1 the folder does not exist, anything else a failure
  std::string path;
};

class Shell : public Port {
 public:
  virtual FolderAnswer AppDataFolder() = 0;
  // The user's Startup folder, empty when the shell cannot resolve it.
  virtual std::string StartupFolder() = 0;
  // The system folder, empty when unknown.
  virtual std::string SystemFolder() = 0;
  // The folder kestrane.exe lives in, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;
  virtual OsVersion Version() = 0;
  virtual void OpenWebPage(const std::string& address) = 0;
  virtual void HtmlHelp(const std::string& file, unsigned command, unsigned long data) = 0;
};

}  // namespace kestrane
