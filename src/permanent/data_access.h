#pragma once
#include "app/module1.h"
#include "platform/files.h"

namespace kestrane {

// The accesses of the data file's mask. Each opens the file and reads record 2 as it is now, so
// that what another copy of the program wrote meanwhile is kept; the writing ones change the mask
// alone (one letter's bit, or the whole mask for Restore) and write the whole record back, so the
// other fields keep their bytes. Afterwards PermMask equals the stored mask. A failure is the
// port's FileError, left to the caller.

// Remove: the stored mask, read at the moment it is asked about.
std::int32_t ReadMask(Files& files, Module1& m);
// Make Permanent: the stored mask gains the letter's bit.
void SetLetterBit(Files& files, Module1& m, char letter);
// RemovePermanent: the stored mask loses the letter's bit.
void ClearLetterBit(Files& files, Module1& m, char letter);
// Restore: the stored mask becomes the initial value.
void ResetMask(Files& files, Module1& m);

}  // namespace kestrane
