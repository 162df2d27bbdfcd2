#include "permanent/data_file.h"

#include <algorithm>
#include <memory>

namespace kestrane {

namespace {

std::int32_t ReadInt32(const Bytes& b, std::size_t at) {
  const std::uint32_t v =
      static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
      static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
  return static_cast<std::int32_t>(v);
}

void WriteInt32(Bytes& b, std::size_t at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

template <std::size_t N>
void ReadArray(const Bytes& b, std::size_t at, std::array<std::uint8_t, N>& out) {
  std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
}

template <std::size_t N>
void WriteArray(Bytes& b, std::size_t at, const std::array<std::uint8_t, N>& in) {
  std::copy(in.begin(), in.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

int BitIndex(char letter) { return static_cast<unsigned char>(letter) - 65; }

}  // namespace

DataRecord DataRecord::Decode(const Bytes& slot) {
  Bytes b(slot);
  b.resize(kRecordLength, 0);  // a short file reads as zeros past its end
  DataRecord r;
  r.Reserved1 = ReadInt32(b, field::kReserved1);
  ReadArray(b, field::kText1, r.Text1);
  ReadArray(b, field::kText2, r.Text2);
  ReadArray(b, field::kReserved2, r.Reserved2);
  r.LetterMask = ReadInt32(b, field::kLetterMask);
  ReadArray(b, kRecordBytes, r.Tail);
  return r;
}

Bytes DataRecord::Encode() const {
  Bytes b(kRecordLength, 0);
  WriteInt32(b, field::kReserved1, Reserved1);
  WriteArray(b, field::kText1, Text1);
  WriteArray(b, field::kText2, Text2);
  WriteArray(b, field::kReserved2, Reserved2);
  WriteInt32(b, field::kLetterMask, LetterMask);
  WriteArray(b, kRecordBytes, Tail);
  return b;
}

std::int32_t WithLetterSet(std::int32_t mask, char letter) {
  const int i = BitIndex(letter);
  if (i < 0 || i > 31) return mask;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(mask) | (1u << i));
}

std::int32_t WithLetterCleared(std::int32_t mask, char letter) {
  const int i = BitIndex(letter);
  if (i < 0 || i > 31) return mask;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(mask) & ~(1u << i));
}

bool LetterIsSet(std::int32_t mask, char letter) {
  const int i = BitIndex(letter);
  if (i < 0 || i > 25) return false;
  return (static_cast<std::uint32_t>(mask) >> i & 1u) != 0;
}

bool DataFile::IsWhole() {
  try {
    return files_.FileExists(path_) && files_.FileSize(path_) == kDataFileSize;
  } catch (const FileError&) {
    return false;
  }
}

void DataFile::RequireWhole() {
  if (!IsWhole()) throw DataFileDamaged();
}

// The file layer opens only a file that is there: one deleted since the check is as damaged as
// one that was missing all along, and is not made anew by the write.
std::unique_ptr<RecordFile> DataFile::Open() {
  RequireWhole();
  try {
    return files_.OpenRecords(path_, kRecordLength);
  } catch (const FileError& e) {
    if (e.Number() == err::kFileNotFound) throw DataFileDamaged();
    throw;
  }
}

std::int32_t DataFile::ReadMask() {
  const std::unique_ptr<RecordFile> file = Open();
  permMask_ = DataRecord::Decode(file->Read(kLiveRecord)).LetterMask;
  return permMask_;
}

template <typename Change>
void DataFile::Rewrite(Change change) {
  const std::unique_ptr<RecordFile> file = Open();
  DataRecord record = DataRecord::Decode(file->Read(kLiveRecord));
  record.LetterMask = change(record.LetterMask);
  file->Write(kLiveRecord, record.Encode());
  permMask_ = record.LetterMask;
}

void DataFile::SetLetter(char letter) {
  Rewrite([&](std::int32_t mask) { return WithLetterSet(mask, letter); });
}

void DataFile::ClearLetter(char letter) {
  Rewrite([&](std::int32_t mask) { return WithLetterCleared(mask, letter); });
}

void DataFile::ResetMask() {
  Rewrite([](std::int32_t) { return kInitialMask; });
}

}  // namespace kestrane
