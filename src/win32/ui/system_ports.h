#pragma once
#include "ui/ports.h"
#include "win32/platform/win32_drives.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"
#include "win32/ui/win32_controls.h"
#include "win32/ui/win32_dialogs.h"

namespace kestrane::win32 {

// The program's capabilities on Windows: one adapter over the system's API for each.
struct SystemPorts {
  explicit SystemPorts(HINSTANCE instance) : dialogs(instance) {}
  SystemPorts(const SystemPorts&) = delete;
  SystemPorts& operator=(const SystemPorts&) = delete;

  Ports All() { return Ports{controls, dialogs, drives, files, processes, shell}; }

  Win32Controls controls;
  Win32Dialogs dialogs;
  Win32Drives drives;
  Win32Files files;
  Win32Processes processes;
  Win32Shell shell;
};

}  // namespace kestrane::win32
