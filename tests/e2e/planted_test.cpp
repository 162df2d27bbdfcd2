// What a real desktop plants around the program: a file named subst.exe in the folder Explorer
// starts it in, or beside it, and a subst that says it succeeded without doing anything. Only the
// system folder's subst runs, and only a drive that is there counts as done.

#include "program_test.h"

namespace {

using namespace e2e;

constexpr wchar_t kPlantFolder[] = L"C:\\Beds\\Downloads";

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}
std::wstring Planted() { return DriverFolder() + L"\\planted.exe"; }
std::wstring SystemSubst() { return SystemFolder() + L"\\subst.exe"; }

class PlantedPrograms : public ProgramTest {
 protected:
  // The cases share a bed: what one plants is gone before the next.
  void TearDown() override {
    ProgramTest::TearDown();
    for (const auto& path : planted_) DeleteFileW(path.c_str());
    if (!keptSubst_.empty()) CopyFileW(keptSubst_.c_str(), SystemSubst().c_str(), FALSE);
  }
  // A copy of the planted program under `path`; its runs are noted in path + ".ran".
  bool Plant(const std::wstring& path) {
    planted_.push_back(path + L".ran");
    DeleteFileW(planted_.back().c_str());
    if (path != SystemSubst()) planted_.push_back(path);
    return CopyFileW(Planted().c_str(), path.c_str(), FALSE);
  }
  // The system's own subst replaced by one that exits 0 and does nothing, until the case ends.
  bool ReplaceSystemSubst() {
    keptSubst_ = std::wstring(kBeds) + L"\\subst.kept";
    return CopyFileW(SystemSubst().c_str(), keptSubst_.c_str(), FALSE) && Plant(SystemSubst());
  }
  // Add of C:\Work as K:, whose box follows.
  std::optional<Box> AddWorkAsK() {
    if (!OpenFolder(main_, kWork) || !PickFree(L'K')) return std::nullopt;
    Press(ids::cmdOk);
    return NextBox();
  }

 private:
  std::vector<std::wstring> planted_;
  std::wstring keptSubst_;
};

TEST_F(PlantedPrograms, ASubstBesideTheProgramOrInItsStartFolderNeverRuns) {
  CreateFolders(kPlantFolder);
  const std::vector<std::wstring> plants = {std::wstring(kPlantFolder) + L"\\subst.exe",
                                            std::wstring(kPlantFolder) + L"\\cmd.exe",
                                            FolderOf(InstalledExe()) + L"\\subst.exe"};
  for (const auto& plant : plants) ASSERT_TRUE(Plant(plant));
  // A search from the start folder would find the planted one before the system's.
  ASSERT_NE(Start(kPlantFolder), nullptr);

  auto added = AddWorkAsK();
  ASSERT_TRUE(added) << "no box after Add";
  EXPECT_TRUE(Looks(*added, kDone));
  ASSERT_TRUE(Answer(*added, IDOK));
  EXPECT_EQ(FolderEntries(L"K:\\"), kWorkFiles);

  Choose(ids::mnuView);
  ASSERT_TRUE(AnswerNext({L"This will list all of your Virtual Drives", L"View Virtual Drives",
                          Icon::Information, kOkCancel},
                         IDOK));
  ASSERT_TRUE(AnswerNext(
      {L"K:\\: => C:\\Work\r\n", L"Assigned Virtual Drives", Icon::None, kOkOnly}, IDOK));

  ASSERT_TRUE(PickUsed(L'K'));
  Press(ids::cmdRemove);
  ASSERT_TRUE(AnswerNext(kDone, IDOK)) << "after Remove";
  EXPECT_FALSE(Mapped(L'K'));
  for (const auto& plant : plants) {
    EXPECT_FALSE(Exists(plant + L".ran")) << Narrow(plant) << " ran";
  }
}

TEST_F(PlantedPrograms, ASubstThatSucceedsWithoutADriveIsNotTakenAtItsWord) {
  ASSERT_TRUE(Map(L'E', kBeds));
  ASSERT_TRUE(ReplaceSystemSubst());
  ASSERT_NE(Start(), nullptr);

  auto added = AddWorkAsK();
  ASSERT_TRUE(added) << "no box after Add";
  EXPECT_TRUE(Looks(*added, {L"subst reported success, but the drive K: is not there.\r\n"
                             L"The folder was not given a drive letter.",
                             L"Kestrane", Icon::Critical, kOkOnly}));
  ASSERT_TRUE(Answer(*added, IDOK));
  EXPECT_TRUE(Exists(SystemSubst() + L".ran")) << "the system folder's subst did not run";
  EXPECT_FALSE(Mapped(L'K'));
  EXPECT_TRUE(Lists(Free(), L'K'));

  ASSERT_TRUE(PickUsed(L'E'));
  Press(ids::cmdRemove);
  ASSERT_TRUE(AnswerNext({L"subst reported success, but the drive E: is still there.\r\n"
                          L"The virtual drive was not removed.",
                          L"Kestrane", Icon::Critical, kOkOnly},
                         IDOK));
  EXPECT_TRUE(Mapped(L'E'));
  EXPECT_TRUE(Lists(Used(), L'E'));
  EXPECT_TRUE(Quiet());
}

}  // namespace
