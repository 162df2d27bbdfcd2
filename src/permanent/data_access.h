#pragma once
#include "app/module1.h"
#include "platform/files.h"

namespace kestrane {

// The writing accesses of the data file. Each opens the file, reads record 2, changes the mask
// alone and writes the whole record back, so the other fields keep their bytes; afterwards
// PermMask equals the stored mask. A failure is the port's FileError, left to the caller.

// Make Permanent: the mask read from the file gains the letter's bit.
void SetLetterBit(Files& files, Module1& m, char letter);
// RemovePermanent: PermMask loses the letter's bit first, then is written over the stored mask.
void ClearLetterBit(Files& files, Module1& m, char letter);
// Restore: the stored mask becomes the initial value.
void ResetMask(Files& files, Module1& m);

}  // namespace kestrane
