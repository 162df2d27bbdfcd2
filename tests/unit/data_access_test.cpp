#include "permanent/data_access.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace kestrane::fakes {
namespace {

class DataAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    m.module.DataFile = m.DataFilePath();
  }
  // Record 2 with fields around the mask that a writer must carry through.
  void InstallDecoratedRecord(std::int32_t mask) {
    m.InstallDataFile(mask);
    FakeFiles::Entry* e = m.files.Find(m.DataFilePath());
    for (std::size_t i = 0; i < e->bytes.size(); ++i) {
      if (i < kRecordLength + 116 || i >= kRecordLength + 120)
        e->bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    before = e->bytes;
  }
  // Every byte but the stored mask is as it was.
  void ExpectOnlyMaskChanged() const {
    const Bytes& now = m.files.Find(m.DataFilePath())->bytes;
    ASSERT_EQ(now.size(), before.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (i >= kRecordLength + 116 && i < kRecordLength + 120) continue;
      ASSERT_EQ(now[i], before[i]) << "byte " << i;
    }
  }
  Machine m;
  Bytes before;
};

TEST_F(DataAccess, SetDerivesFromTheStoredMaskAndKeepsOtherBytes) {
  InstallDecoratedRecord(kInitialMask | (1 << 30) | 1);
  m.module.PermMask = 0;  // stale copy: the record wins
  SetLetterBit(m.files, m.module, 'Z');
  const std::int32_t expected = kInitialMask | (1 << 30) | 1 | (1 << 25);
  EXPECT_EQ(m.StoredMask(), expected);
  EXPECT_EQ(m.module.PermMask, expected);
  ExpectOnlyMaskChanged();
}

// Another copy of the program made R permanent after this one read the mask: clearing Q keeps R.
TEST_F(DataAccess, ClearTakesOnlyTheLettersBitFromTheStoredMask) {
  InstallDecoratedRecord(kInitialMask | (1 << 16) | (1 << 17));
  m.module.PermMask = kInitialMask | (1 << 30) | (1 << 16);
  ClearLetterBit(m.files, m.module, 'Q');
  EXPECT_EQ(m.StoredMask(), kInitialMask | (1 << 17));
  EXPECT_EQ(m.module.PermMask, kInitialMask | (1 << 17));
  ExpectOnlyMaskChanged();
}

TEST_F(DataAccess, ResetWritesTheInitialMask) {
  InstallDecoratedRecord(kInitialMask | 0x3FFFFFF);
  m.module.PermMask = 0x3FFFFFF;
  ResetMask(m.files, m.module);
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(m.module.PermMask, kInitialMask);
  ExpectOnlyMaskChanged();
}

TEST_F(DataAccess, LetterOutsideTheAlphabetChangesNoBit) {
  InstallDecoratedRecord(kInitialMask | 4);
  m.module.PermMask = kInitialMask | 4;
  SetLetterBit(m.files, m.module, 'q');
  ClearLetterBit(m.files, m.module, 'c');
  EXPECT_EQ(m.StoredMask(), kInitialMask | 4);
  EXPECT_EQ(m.module.PermMask, kInitialMask | 4);
}

TEST_F(DataAccess, FailedWriteLeavesTheFileAndReportsTheNumber) {
  InstallDecoratedRecord(kInitialMask);
  m.faults.Arm(Call::RecordFileWrite, 1, err::kPermissionDenied);
  try {
    SetLetterBit(m.files, m.module, 'E');
    FAIL() << "no failure";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), err::kPermissionDenied);
  }
  EXPECT_EQ(m.StoredMask(), kInitialMask);
}

}  // namespace
}  // namespace kestrane::fakes
