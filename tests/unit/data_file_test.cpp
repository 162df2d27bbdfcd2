#include "permanent/data_file.h"

#include <gtest/gtest.h>

namespace kestrane {
namespace {

Bytes Slot() {
  Bytes b(kRecordLength);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

TEST(DataRecord, DecodesLittleEndianFieldsAtTheirOffsets) {
  Bytes b(kRecordLength, 0);
  b[0] = 0xFE;
  b[1] = 0xFF;
  b[2] = 0xFF;
  b[3] = 0xFF;
  b[4] = 'x';
  b[55] = 'y';
  b[56] = 'z';
  b[108] = 0x11;
  b[116] = 0x00;
  b[117] = 0x00;
  b[118] = 0x00;
  b[119] = 0x08;
  const DataRecord r = DataRecord::Decode(b);
  EXPECT_EQ(r.Reserved1, -2);
  EXPECT_EQ(r.Text1.front(), 'x');
  EXPECT_EQ(r.Text1.back(), 'y');
  EXPECT_EQ(r.Text2.front(), 'z');
  EXPECT_EQ(r.Reserved2.front(), 0x11);
  EXPECT_EQ(r.LetterMask, kInitialMask);
}

TEST(DataRecord, RoundTripKeepsEveryByteOfTheSlot) {
  const Bytes b = Slot();
  EXPECT_EQ(DataRecord::Decode(b).Encode(), b);
}

TEST(DataRecord, ShortSlotReadsAsZerosPastItsEnd) {
  Bytes b = {1, 0, 0, 0};
  const DataRecord r = DataRecord::Decode(b);
  EXPECT_EQ(r.Reserved1, 1);
  EXPECT_EQ(r.LetterMask, 0);
  EXPECT_EQ(r.Encode().size(), static_cast<std::size_t>(kRecordLength));
}

TEST(DataRecord, ChangingTheMaskChangesOnlyBytes116To119) {
  const Bytes before = Slot();
  DataRecord r = DataRecord::Decode(before);
  r.LetterMask = WithLetterSet(r.LetterMask, 'Q');
  const Bytes after = r.Encode();
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (i >= 116 && i < 120) continue;
    ASSERT_EQ(before[i], after[i]) << "byte " << i;
  }
}

struct BitCase {
  char letter;
  std::int32_t before;
  std::int32_t set;
  std::int32_t cleared;
};

class LetterBits : public ::testing::TestWithParam<BitCase> {};

TEST_P(LetterBits, SetAndClearTouchOnlyTheLettersBit) {
  const auto& c = GetParam();
  EXPECT_EQ(WithLetterSet(c.before, c.letter), c.set);
  EXPECT_EQ(WithLetterCleared(c.before, c.letter), c.cleared);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, LetterBits,
    ::testing::Values(BitCase{'A', kInitialMask, kInitialMask + 1, kInitialMask},
                      BitCase{'Z', kInitialMask, kInitialMask + 33554432, kInitialMask},
                      BitCase{'Q', 0x40000000 | 65536, 0x40000000 | 65536, 0x40000000},
                      BitCase{'z', 5, 5, 5},  // lower case lies outside the mask
                      BitCase{'@', 5, 5, 5}));

TEST(LetterBits, OnlyLettersAToZAreEverSet) {
  EXPECT_TRUE(LetterIsSet(1, 'A'));
  EXPECT_TRUE(LetterIsSet(1 << 25, 'Z'));
  EXPECT_FALSE(LetterIsSet(kInitialMask, 'A'));
  EXPECT_FALSE(LetterIsSet(-1, 'a'));
}

}  // namespace
}  // namespace kestrane
