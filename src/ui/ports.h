#pragma once
#include "platform/dialogs.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "ui/controls.h"

namespace kestrane {

// The capabilities the core is given, all borrowed.
struct Ports {
  Controls& controls;
  Dialogs& dialogs;
  Drives& drives;
  Files& files;
  Processes& processes;
  Shell& shell;
};

}  // namespace kestrane
