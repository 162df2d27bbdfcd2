#include "permanent/data_access.h"

#include <memory>

namespace kestrane {

namespace {

// Reads record 2 into DataRec, lets `change` set its mask, and writes the record back.
template <typename Change>
void RewriteLiveRecord(Files& files, Module1& m, Change change) {
  const std::unique_ptr<RecordFile> file1 = files.OpenRecords(m.DataFile, kRecordLength);
  m.DataRec = DataRecord::Decode(file1->Read(kLiveRecord));
  change(m.DataRec);
  file1->Write(kLiveRecord, m.DataRec.Encode());
}

}  // namespace

void SetLetterBit(Files& files, Module1& m, char letter) {
  RewriteLiveRecord(files, m, [&](DataRecord& rec) {
    rec.LetterMask = WithLetterSet(rec.LetterMask, letter);
    m.PermMask = rec.LetterMask;
  });
}

void ClearLetterBit(Files& files, Module1& m, char letter) {
  m.PermMask = WithLetterCleared(m.PermMask, letter);
  RewriteLiveRecord(files, m, [&](DataRecord& rec) { rec.LetterMask = m.PermMask; });
}

void ResetMask(Files& files, Module1& m) {
  RewriteLiveRecord(files, m, [](DataRecord& rec) { rec.LetterMask = kInitialMask; });
  m.PermMask = kInitialMask;
}

}  // namespace kestrane
