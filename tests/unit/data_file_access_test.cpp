#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "permanent/data_file.h"

namespace kestrane::fakes {
namespace {

class DataFileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    m.StandardSetup();
    data.SetPath(m.DataFilePath());
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
  DataFile data{m.files};
  Bytes before;
};

TEST_F(DataFileAccess, SetDerivesFromTheStoredMaskAndKeepsOtherBytes) {
  m.InstallDataFile(0);
  data.Load();  // a copy read earlier, stale by now: the record wins
  InstallDecoratedRecord(kInitialMask | (1 << 30) | 1);
  data.SetLetter('Z');
  const std::int32_t expected = kInitialMask | (1 << 30) | 1 | (1 << 25);
  EXPECT_EQ(m.StoredMask(), expected);
  EXPECT_EQ(data.PermMask(), expected);
  ExpectOnlyMaskChanged();
}

// Another copy of the program made R permanent after this one read the mask: clearing Q keeps R.
TEST_F(DataFileAccess, ClearTakesOnlyTheLettersBitFromTheStoredMask) {
  m.InstallDataFile(kInitialMask | (1 << 30) | (1 << 16));
  data.Load();
  InstallDecoratedRecord(kInitialMask | (1 << 16) | (1 << 17));
  data.ClearLetter('Q');
  EXPECT_EQ(m.StoredMask(), kInitialMask | (1 << 17));
  EXPECT_EQ(data.PermMask(), kInitialMask | (1 << 17));
  ExpectOnlyMaskChanged();
}

TEST_F(DataFileAccess, ResetWritesTheInitialMask) {
  InstallDecoratedRecord(kInitialMask | 0x3FFFFFF);
  data.Load();
  data.ResetMask();
  EXPECT_EQ(m.StoredMask(), kInitialMask);
  EXPECT_EQ(data.PermMask(), kInitialMask);
  ExpectOnlyMaskChanged();
}

TEST_F(DataFileAccess, LetterOutsideTheAlphabetChangesNoBit) {
  InstallDecoratedRecord(kInitialMask | 4);
  data.SetLetter('q');
  data.ClearLetter('c');
  EXPECT_EQ(m.StoredMask(), kInitialMask | 4);
  EXPECT_EQ(data.PermMask(), kInitialMask | 4);
}

TEST_F(DataFileAccess, FailedWriteLeavesTheFileAndReportsTheNumber) {
  InstallDecoratedRecord(kInitialMask);
  m.faults.Arm(Call::RecordFileWrite, 1, err::kPermissionDenied);
  try {
    data.SetLetter('E');
    FAIL() << "no failure";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), err::kPermissionDenied);
  }
  EXPECT_EQ(m.StoredMask(), kInitialMask);
}

// A file that is not whole is neither read nor padded nor created anew.
class DamagedDataFile : public DataFileAccess, public ::testing::WithParamInterface<int> {};

TEST_P(DamagedDataFile, EveryAccessRefusesItAndLeavesItAsItWas) {
  const int size = GetParam();
  if (size >= 0) m.files.AddFile(m.DataFilePath(), Bytes(static_cast<std::size_t>(size), 1));
  if (size < 0) m.files.files.erase(FakeFiles::Key(m.DataFilePath()));
  const FakeFiles::Entry* e = m.files.Find(m.DataFilePath());
  const std::optional<Bytes> was = e ? std::optional<Bytes>(e->bytes) : std::nullopt;
  EXPECT_FALSE(data.IsWhole());
  EXPECT_THROW(data.Load(), DataFileDamaged);
  EXPECT_THROW(data.SetLetter('Q'), DataFileDamaged);
  EXPECT_THROW(data.ClearLetter('Q'), DataFileDamaged);
  EXPECT_THROW(data.ResetMask(), DataFileDamaged);
  e = m.files.Find(m.DataFilePath());
  EXPECT_EQ(e ? std::optional<Bytes>(e->bytes) : std::nullopt, was);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DamagedDataFile, ::testing::Values(-1, 0, 1250, 2499, 2501));

}  // namespace
}  // namespace kestrane::fakes
