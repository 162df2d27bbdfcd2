#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/files.h"

namespace kestrane {

inline constexpr char kDataFileName[] = "himem32.qor";  // in the data folder
inline constexpr int kRecordLength = 1250;
inline constexpr int kRecordBytes = 120;  // the fields; the rest of a slot carries none
inline constexpr int kLiveRecord = 2;
inline constexpr std::int32_t kInitialMask = 134217728;  // bit 27 alone

// One record of the data file, decoded byte by byte (little-endian).
struct DataRecord {
  std::int32_t Reserved1 = 0;
  std::array<std::uint8_t, 52> Text1{};
  std::array<std::uint8_t, 52> Text2{};
  std::array<std::uint8_t, 8> Reserved2{};
  std::int32_t LetterMask = 0;
  // Bytes 120 to 1,249 of the slot, carried through a rewrite as they were.
  std::array<std::uint8_t, kRecordLength - kRecordBytes> Tail{};

  static DataRecord Decode(const Bytes& slot);
  Bytes Encode() const;
  bool operator==(const DataRecord&) const = default;
};

// Bit of a letter in the mask; letters outside A..Z (index beyond 0..31) change nothing.
std::int32_t WithLetterSet(std::int32_t mask, char letter);
std::int32_t WithLetterCleared(std::int32_t mask, char letter);
bool LetterIsSet(std::int32_t mask, char letter);

}  // namespace kestrane
