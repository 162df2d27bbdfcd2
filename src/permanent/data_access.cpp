#include "permanent/data_access.h"

#include <memory>

namespace kestrane {

namespace {

// Reads record 2 into DataRec, lets `change` set its mask, and writes the record back.
template <typename Change>
void RewriteLiveRecord(Files& files, Module1& m, Change change) {
  const std::unique_ptr<RecordFile> file1 = files.OpenRecords(m.DataFile, kRecordLength);
  m.DataRec = DataRecord::Decode(file1->Read(kLiveRecord));
  m.DataRec.LetterMask = change(m.DataRec.LetterMask);
  file1->Write(kLiveRecord, m.DataRec.Encode());
  m.PermMask = m.DataRec.LetterMask;
}

}  // namespace

std::int32_t ReadMask(Files& files, Module1& m) {
  const std::unique_ptr<RecordFile> file1 = files.OpenRecords(m.DataFile, kRecordLength);
  m.DataRec = DataRecord::Decode(file1->Read(kLiveRecord));
  m.PermMask = m.DataRec.LetterMask;
  return m.PermMask;
}

void SetLetterBit(Files& files, Module1& m, char letter) {
  RewriteLiveRecord(files, m, [&](std::int32_t mask) { return WithLetterSet(mask, letter); });
}

void ClearLetterBit(Files& files, Module1& m, char letter) {
  RewriteLiveRecord(files, m, [&](std::int32_t mask) { return WithLetterCleared(mask, letter); });
}

void ResetMask(Files& files, Module1& m) {
  RewriteLiveRecord(files, m, [](std::int32_t) { return kInitialMask; });
}

}  // namespace kestrane
