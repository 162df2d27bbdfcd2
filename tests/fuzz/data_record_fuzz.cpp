// A slot of himem32.qor of any length decodes without a crash and is written back as it was read:
// the bytes of a full slot unchanged, a short one padded with zeros, a long one cut.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "permanent/data_file.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kestrane::Bytes slot(data, data + size);
  const kestrane::DataRecord record = kestrane::DataRecord::Decode(slot);
  const kestrane::Bytes written = record.Encode();

  kestrane::Bytes expected(slot);
  expected.resize(kestrane::kRecordLength, 0);
  Require(written == expected);
  Require(kestrane::DataRecord::Decode(written) == record);

  // The mask changes only by the bit of the letter, for any byte taken as the letter.
  const std::int32_t mask = record.LetterMask;
  for (int i = 0; i < 256; ++i) {
    const char letter = static_cast<char>(i);
    const std::int32_t set = kestrane::WithLetterSet(mask, letter);
    const std::int32_t cleared = kestrane::WithLetterCleared(mask, letter);
    const bool isLetter = letter >= 'A' && letter <= 'Z';
    Require(kestrane::LetterIsSet(set, letter) == isLetter);
    Require(!kestrane::LetterIsSet(cleared, letter));
    const auto changed = static_cast<std::uint32_t>(set ^ cleared);
    Require((changed & (changed - 1)) == 0);  // at most one bit
    if (isLetter) Require(changed == 1u << (letter - 'A'));
    Require(kestrane::WithLetterCleared(set, letter) == cleared);
  }
  return 0;
}
