#pragma once
#include <cstdint>

namespace kestrane {

// The numbered messages the user is shown; the table of their texts is the main window's.
// Distinct from the error numbers of the file layer (FileError), though both are small numbers.
enum class Msg : std::uint8_t {
  None = 0,
  AlreadyAssigned = 1,  // the letter has a line in subit.bat
  NotSupported = 2,     // no family or no Startup folder
  NoLetter = 3,
  NoPathSelected = 4,
  PathNotFound = 5,
  LetterInUse = 6,
  CdRomOn95 = 10,
  UnknownFailure = 11,
  NetworkDrive = 12,
  // Outside the numbered table: subst cannot take the folder as written, and the text that says
  // so names the folder (TargetRefusal).
  UnmappableFolder = 20,
  MissingOrCorrupt = 255,  // start-up ends after it
};

}  // namespace kestrane
