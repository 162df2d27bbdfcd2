// Bad input through the window: folders the command interpreter or the path limit make hard,
// names typed for a hidden folder, and data, startup and capture files that cannot be read or
// written. Each case checks what the user is told, that the window can still be used, and that
// himem32.qor and subit.bat keep what they held. Every box met is printed as "[   SEEN   ]".

#include <algorithm>
#include <cstdio>

#include "program_test.h"
#include "wine_mount.h"

namespace {

using namespace e2e;

const std::vector<std::wstring> kOneFile = {L"inside.txt"};

std::wstring ShortPath(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(shortPath, n) : std::wstring();
}

bool RepresentableInOem(const std::wstring& text) {
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      nullptr, 0, nullptr, &lossy);
  return !lossy;
}

// The batch line Make Permanent is expected to write: percent signs doubled for cmd.exe.
std::string BatchLine(wchar_t letter, const std::wstring& folder) {
  std::string line = "subst " + std::string(1, static_cast<char>(letter)) + ": \"";
  for (char ch : Narrow(folder, CP_OEMCP)) {
    line += ch;
    if (ch == '%') line += '%';
  }
  return line + "\"\r\n";
}

// A file by a path that may pass the classic length limit.
bool MakeFile(const std::wstring& path, const std::string& text) {
  const std::wstring full = L"\\\\?\\" + path;
  HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return written == text.size();
}

// The bed every case starts from: the data file as installed, C:\Work with two files, C:\Beds,
// no startup batch file and no letter mapped.
class BadInput : public ProgramTest {
 protected:
  // Prints the box under the case's name, so a run shows what the user read; answers it.
  static void Seen(const std::string& what, const Box& box) {
    std::printf("[   SEEN   ] %s -> [%s] %s: %s\n", what.c_str(), NameOf(box.icon),
                Narrow(box.title).c_str(), Narrow(box.text).c_str());
  }
  // A box that tells of a failure: a critical or exclamation icon, a title and a text of its own.
  static void ExpectClearRefusal(const Box& box) {
    EXPECT_TRUE(box.icon == Icon::Critical || box.icon == Icon::Exclamation) << NameOf(box.icon);
    EXPECT_FALSE(box.title.empty());
    EXPECT_GT(box.text.size(), 20u);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  }
  static bool IsDone(const Box& box) { return box.title == kDone.title && box.text == kDone.text; }

  // The window after a bad input: still there, enabled, running and silent.
  void ExpectUsable() {
    EXPECT_TRUE(program_->Running()) << "the program ended";
    EXPECT_TRUE(IsWindow(main_) && IsWindowEnabled(main_)) << "the main window is gone or disabled";
    EXPECT_TRUE(Quiet()) << "a further box appeared";
  }

  // The folder list refused to open `folder`, saying `why`. The path box and the list's highlight
  // stay on `parent` (row 2), and Add maps that folder, the one the user sees chosen.
  void ExpectRefusedToOpen(const std::wstring& folder, const std::wstring& why,
                           const std::wstring& parent) {
    const auto shown = [](const std::wstring& p) {
      return p.size() > 66 ? L"....." + p.substr(p.size() - 63) : p;
    };
    auto box = NextBox(2s);
    ASSERT_TRUE(box) << "neither opened nor refused";
    Seen(Narrow(shown(folder)) + " open", *box);
    EXPECT_TRUE(Looks(*box, Error(L"The folder \"" + shown(folder) +
                                  L"\" cannot be given a drive letter:\r\n" + why)));
    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_EQ(TextOf(Control(main_, ids::txtPath)), shown(parent));
    EXPECT_EQ(ListSelection(Control(main_, ids::dirList)), 2);
    ASSERT_TRUE(PickFree(L'P'));
    Press(ids::cmdOk);
    auto done = NextBox();
    ASSERT_TRUE(done && IsDone(*done) && Answer(*done, IDOK)) << "Add did not map the folder shown";
    EXPECT_EQ(FolderEntries(L"P:\\"), FolderEntries(parent));
    ExpectUsable();
  }

  // Add of C:\Work to `letter`, the simple action that proves the window still works.
  void ExpectAddWorks(wchar_t letter) {
    ASSERT_TRUE(OpenFolder(main_, kWork)) << "the folder list no longer follows";
    ASSERT_TRUE(PickFree(letter));
    Press(ids::cmdOk);
    auto done = NextBox();
    ASSERT_TRUE(done) << "no box after Add";
    EXPECT_TRUE(IsDone(*done)) << Narrow(done->title) << ": " << Narrow(done->text);
    ASSERT_TRUE(Answer(*done, IDOK));
    EXPECT_EQ(FolderEntries(std::wstring{letter, L':', L'\\'}), kWorkFiles);
  }

  // Presses Make Permanent with `letter` chosen in the free list and accepts the confirmation.
  // The command's outcome is its one box, after the mapping, the line and the bit; any further
  // box would be a fault, so every box is answered and the last one returned.
  std::optional<Box> MakePermanent(wchar_t letter, const std::string& what) {
    if (!PickFree(letter)) return std::nullopt;
    Press(ids::cmdDefault);
    auto box = NextBox();
    if (!box) return std::nullopt;
    if (box->title == L"Make Permanent?") {
      if (!Answer(*box, IDOK)) return std::nullopt;
      box = NextBox(20s);
    }
    std::optional<Box> last;
    for (int count = 0; box && count < 4; ++count, box = NextBox(quiet_)) {
      Seen(what, *box);
      if (!Answer(*box, IDOK)) return std::nullopt;
      last = box;
    }
    return last;
  }
  // Make Permanent of C:\Work as K:, as above.
  std::optional<Box> MakeWorkPermanent(const std::string& what) {
    if (!OpenFolder(main_, kWork)) return std::nullopt;
    return MakePermanent(L'K', what);
  }
};

// ---------------------------------------------------------------------------------------------
// Folders whose names cmd.exe or the OEM code page make hard.

class BadFolderNames : public BadInput, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(BadFolderNames, AddMapsTheFolderAndMakePermanentWritesALineThatReplays) {
  const std::wstring folder = std::wstring(kBeds) + L"\\" + GetParam();
  const std::string what = "folder " + Narrow(folder);
  ASSERT_TRUE(CreateFolders(folder));
  ASSERT_TRUE(MakeFile(folder + L"\\inside.txt", "inside\r\n"));
  const auto dataBefore = DataBytes();
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, folder)) << "the folder list cannot reach " << what;

  ASSERT_TRUE(PickFree(L'K'));
  Press(ids::cmdOk);
  auto added = NextBox();
  ASSERT_TRUE(added) << "no box after Add";
  Seen(what + " Add", *added);
  EXPECT_TRUE(IsDone(*added));
  ASSERT_TRUE(Answer(*added, IDOK));
  EXPECT_EQ(FolderEntries(L"K:\\"), kOneFile);

  auto made = MakePermanent(L'L', what + " Make Permanent");
  ASSERT_TRUE(made) << "Make Permanent did not end in a box";
  EXPECT_TRUE(IsDone(*made));
  // A name the batch file's code page cannot hold is written by its short name, which reaches
  // the same folder.
  EXPECT_EQ(BatchText(), BatchLine(L'L', RepresentableInOem(folder) ? folder : ShortPath(folder)));
  EXPECT_EQ(LetterMaskOf(DataBytes()), LetterMaskOf(dataBefore) | Bit(L'L'));
  EXPECT_EQ(FolderEntries(L"L:\\"), kOneFile);
  // The next logon, played by the command interpreter on the file as written.
  ASSERT_EQ(wine_mount::RemoveDrive(L'L'), DWORD{ERROR_SUCCESS});
  auto logon = RunCommand(L"cmd.exe /c subit.bat", StartupFolder());
  ASSERT_TRUE(logon) << "the batch file did not run to its end";
  EXPECT_EQ(FolderEntries(L"L:\\"), kOneFile) << logon->output;
  ExpectUsable();
  ExpectAddWorks(L'P');
}

std::string FolderCaseName(const ::testing::TestParamInfo<const wchar_t*>& info) {
  static const char* const kNames[] = {
      "PercentAmpersand", "CaretBracketsBang", "PercentVariable", "Accented", "Greek",
      "CjkCyrillic"};
  return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(Names, BadFolderNames,
                         ::testing::Values(L"100% sure & done", L"up^caret (copy)!",
                                           L"a %PATH% b!x!", L"Caf\u00e9 d\u00e9j\u00e0 vu",
                                           L"\u0393\u03b5\u03b9\u03ac",
                                           L"\u6587\u66f8 \u0444\u0430\u0439\u043b"),
                         FolderCaseName);

// ---------------------------------------------------------------------------------------------
// Folders at and past the classic path limit, made with \\?\ paths.

class BadLongFolders : public BadInput, public ::testing::WithParamInterface<size_t> {};

TEST_P(BadLongFolders, AddAndMakePermanentMapTheFolderOrSayWhyNot) {
  const size_t length = GetParam();
  const std::wstring top = std::wstring(kBeds) + L"\\" + std::wstring(200, L'a');
  const std::wstring folder = top + L"\\" + std::wstring(length - top.size() - 1, L'b');
  ASSERT_EQ(folder.size(), length);
  const std::string what = "folder of " + std::to_string(length) + " characters";
  ASSERT_TRUE(CreateFolders(folder));
  ASSERT_TRUE(MakeFile(folder + L"\\inside.txt", "inside\r\n"));
  const auto dataBefore = DataBytes();
  ASSERT_NE(Start(), nullptr);

  // subst takes a folder within the classic limit: 259 characters and the terminator.
  const bool opened = OpenFolder(main_, folder);
  EXPECT_EQ(opened, length <= 259) << what;
  if (!opened) {
    ExpectRefusedToOpen(folder, L"its path is longer than 259 characters.", top);
    return;
  }
  ASSERT_TRUE(PickFree(L'K'));
  Press(ids::cmdOk);
  auto added = NextBox();
  ASSERT_TRUE(added) << "no box after Add";
  Seen(what + " Add", *added);
  ASSERT_TRUE(Answer(*added, IDOK));
  if (IsDone(*added)) {
    EXPECT_EQ(FolderEntries(L"K:\\"), kOneFile);
  } else {
    ExpectClearRefusal(*added);
    EXPECT_FALSE(Mapped(L'K'));
  }

  auto made = MakePermanent(L'L', what + " Make Permanent");
  ASSERT_TRUE(made) << "Make Permanent did not end in a box";
  if (IsDone(*made)) {
    WaitFor([&] { return BatchText() == BatchLine(L'L', folder); });
    EXPECT_EQ(BatchText(), BatchLine(L'L', folder));
    EXPECT_EQ(LetterMaskOf(DataBytes()), kInitialMask | Bit(L'L'));
    ASSERT_EQ(wine_mount::RemoveDrive(L'L'), DWORD{ERROR_SUCCESS});
    auto logon = RunCommand(L"cmd.exe /c subit.bat", StartupFolder());
    ASSERT_TRUE(logon);
    EXPECT_EQ(FolderEntries(L"L:\\"), kOneFile) << logon->output;
  } else {
    ExpectClearRefusal(*made);
    EXPECT_FALSE(Exists(Batch()));
    EXPECT_EQ(DataBytes(), dataBefore);
  }
  ExpectUsable();
  ExpectAddWorks(L'P');
}

INSTANTIATE_TEST_SUITE_P(Lengths, BadLongFolders, ::testing::Values(259u, 260u, 300u));

// Another program can end a name in spaces; Windows reads "trail   " as "trail", which subst would
// map instead.
class TrailingSpaces : public BadInput {};

TEST_F(TrailingSpaces, FolderListRefusesTheFolderInWordsAndStaysOnItsParent) {
  const std::wstring parent = std::wstring(kBeds) + L"\\sp", folder = parent + L"\\trail   ";
  ASSERT_TRUE(CreateFolders(folder) && CreateFolders(parent + L"\\trail"));
  ASSERT_NE(Start(), nullptr);
  EXPECT_FALSE(OpenFolder(main_, folder));
  ExpectRefusedToOpen(folder,
                      L"the name \"trail   \" ends in a space or a dot, which Windows leaves "
                      L"out when it reads a path.",
                      parent);
}

// ---------------------------------------------------------------------------------------------
// Names typed for a hidden folder (right button on the folder list).

class BadHiddenNames : public BadInput, public ::testing::WithParamInterface<const wchar_t*> {
 protected:
  // Right button on the folder list, "Yes" to the question; the input box that follows.
  HWND AskForHiddenFolder() {
    HWND list = Control(main_, ids::dirList);
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    auto question = NextBox();
    if (!question) return nullptr;
    EXPECT_EQ(question->text, L"Do you want to add a hidden folder?");
    if (!Answer(*question, IDYES)) return nullptr;
    return program_->WaitForWindow(ids::kInputWindowClass, nullptr, kStepLimit);
  }
  static bool Type(HWND input, const std::wstring& text, int button) {
    HWND edit = Control(input, ids::inputText);
    if (edit == nullptr) return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Click(Control(input, button));
    return WaitFor([&] { return !IsWindow(input) || !IsWindowVisible(input); });
  }
};

TEST_P(BadHiddenNames, TypedNameEndsOnAnExistingFolderThatAddMaps) {
  const std::wstring typed = GetParam();
  const std::string what = "hidden folder \"" + Narrow(typed) + "\"";
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, kWork));
  HWND input = AskForHiddenFolder();
  ASSERT_NE(input, nullptr) << "no input box";
  ASSERT_TRUE(Type(input, typed, IDOK));

  // Each refusal asks again; the second time the user gives up with Cancel.
  int refusals = 0;
  for (int round = 0; round < 3; ++round) {
    auto box = NextBox(2s);
    if (!box) break;
    Seen(what, *box);
    ++refusals;
    EXPECT_NE(box->icon, Icon::Unknown);
    ASSERT_TRUE(Answer(*box, IDOK));
    HWND again = program_->WaitForWindow(ids::kInputWindowClass, nullptr, 2s);
    if (again != nullptr) {
      ASSERT_TRUE(Type(again, L"", IDCANCEL));
    }
  }
  EXPECT_LT(refusals, 3) << "the questions never end";
  const std::wstring shown = TextOf(Control(main_, ids::txtPath));
  std::printf("[   SEEN   ] %s -> path box \"%s\"\n", what.c_str(), Narrow(shown).c_str());
  // Whatever the box shows names a folder that exists, so Add cannot map a wrong one.
  EXPECT_EQ(shown.rfind(L"C:\\", 0), 0u) << Narrow(shown);
  const DWORD attributes = GetFileAttributesW(shown.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      << Narrow(shown);
  ExpectUsable();

  // The folder list is held on the typed folder until an Add: Add maps the folder shown.
  ASSERT_TRUE(PickFree(L'P'));
  Press(ids::cmdOk);
  auto added = NextBox();
  ASSERT_TRUE(added) << "no box after Add";
  Seen(what + " then Add", *added);
  if (shown.size() == 3) {
    // ".." from C:\Work leads to the drive root, which Add asks about first.
    EXPECT_EQ(added->title, L"Are You Sure?");
    ASSERT_TRUE(Answer(*added, IDYES));
    added = NextBox();
    ASSERT_TRUE(added) << "no box after the root question";
    Seen(what + " then Yes", *added);
  }
  EXPECT_TRUE(IsDone(*added));
  ASSERT_TRUE(Answer(*added, IDOK));
  EXPECT_EQ(FolderEntries(L"P:\\"), FolderEntries(shown));
  // After the Add the folder list follows the user again.
  std::string rows;
  for (const auto& row : ListItems(Control(main_, ids::dirList))) rows += " [" + Narrow(row) + "]";
  EXPECT_TRUE(OpenFolder(main_, kWork))
      << "path box \"" << Narrow(TextOf(Control(main_, ids::txtPath))) << "\", rows" << rows;
  ExpectUsable();
}

std::string TypedCaseName(const ::testing::TestParamInfo<const wchar_t*>& info) {
  static const char* const kNames[] = {"DotDot",   "Backslash", "Colon",  "Star",
                                       "Question", "Quote",     "Nothing"};
  return kNames[info.index];
}

// What the user chose stays chosen, and only what can be seen chosen is acted on.
class ChoicesStay : public BadHiddenNames {};

TEST_F(ChoicesStay, HiddenFolderStaysChosenForEveryCommandUntilAnotherFolderIsChosen) {
  const std::wstring hidden = std::wstring(kWork) + L"\\Sub";
  ASSERT_TRUE(CreateFolders(hidden));
  ASSERT_TRUE(MakeFile(hidden + L"\\inside.txt", "inside\r\n"));
  ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(OpenFolder(main_, kWork));
  HWND input = AskForHiddenFolder();
  ASSERT_NE(input, nullptr) << "no input box";
  ASSERT_TRUE(Type(input, L"Sub", IDOK));
  for (const wchar_t letter : {L'O', L'P'}) {
    ASSERT_TRUE(PickFree(letter));
    Press(ids::cmdOk);
    EXPECT_TRUE(AnswerNext(kDone, IDOK)) << "Add " << static_cast<char>(letter);
    EXPECT_EQ(FolderEntries(std::wstring{letter, L':', L'\\'}), kOneFile);
    EXPECT_EQ(TextOf(Control(main_, ids::txtPath)), hidden);
  }
  // Choosing another folder ends the hidden folder's turn.
  ASSERT_TRUE(OpenFolder(main_, kBeds));
  ExpectUsable();
}

// Make Permanent rebuilds the letter lists; the letter it made is no longer picked anywhere, so
// the next command asks for one instead of using a letter the user cannot see chosen.
TEST_F(ChoicesStay, CommandAfterTheListsAreRebuiltAsksForALetter) {
  ASSERT_NE(Start(), nullptr);
  auto made = MakeWorkPermanent("Make Permanent K:");
  ASSERT_TRUE(made);
  ASSERT_TRUE(IsDone(*made));
  EXPECT_EQ(ListSelection(Control(main_, ids::lstAvail)), -1);
  ASSERT_TRUE(OpenFolder(main_, kBeds));
  Press(ids::cmdDefault);
  EXPECT_TRUE(AnswerNext(Error(L"You need to select a Virtual Drive Letter!"), IDOK));
  EXPECT_EQ(BatchText(), "subst K: \"C:\\Work\"\r\n");
  ExpectUsable();
}

INSTANTIATE_TEST_SUITE_P(Typed, BadHiddenNames,
                         ::testing::Values(L"..", L"\\", L":", L"*", L"?", L"\"", L""),
                         TypedCaseName);

// ---------------------------------------------------------------------------------------------
// Data files that are too short, read-only or held by another program.

class BadDataFile : public BadInput {
 protected:
  // The program started with the data file as the case left it; a box it shows at start-up is
  // printed and answered.
  void StartWith(const std::string& dataFile) {
    ASSERT_NE(Start(), nullptr) << "no main window with a " << dataFile;
    if (auto early = NextBox(quiet_)) {
      Seen(dataFile + " start-up", *early);
      ASSERT_TRUE(Answer(*early, IDOK));
    }
  }
  // Whatever happened, the batch file and the mask agree and the window still works.
  void ExpectConsistentAndUsable() {
    const auto bytes = DataBytes();
    const bool bit = bytes.size() >= 2 * kRecordLength && (LetterMaskOf(bytes) & Bit(L'K')) != 0;
    const bool line = BatchText().find("subst K:") != std::string::npos;
    EXPECT_EQ(bit, line) << "mask bit " << bit << ", batch line " << line;
    ExpectUsable();
    ExpectAddWorks(L'P');
  }
};

// Another program deletes the data file while Kestrane runs: it is reported as missing, and
// neither made anew nor half-written, and nothing else changes either.
TEST_F(BadDataFile, DataFileDeletedWhileRunningMakePermanentSaysItIsMissingAndCreatesNothing) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(DeleteFileW(DataFilePath().c_str()));
  auto made = MakeWorkPermanent("deleted data file Make Permanent");
  ASSERT_TRUE(made);
  EXPECT_TRUE(
      Looks(*made, Error(L"There is a missing or corrupt file! Remove and reinstall the software, "
                         L"\r\nif the problem persists e-mail us at support@kestrane.example!")));
  EXPECT_FALSE(Exists(DataFilePath()));
  EXPECT_FALSE(Exists(Batch()));
  EXPECT_FALSE(Mapped(L'K'));
  ExpectUsable();
}

TEST_F(BadDataFile, ReadOnlyDataFileMakePermanentSaysSoAndChangesNothingItCannotUndo) {
  const auto before = DataBytes();
  ASSERT_TRUE(SetFileAttributesW(DataFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_NE(Start(), nullptr) << "no main window with a read-only data file";
  auto made = MakeWorkPermanent("read-only data file Make Permanent");
  ASSERT_TRUE(made);
  ExpectClearRefusal(*made);
  EXPECT_EQ(DataBytes(), before);
  ExpectConsistentAndUsable();
}

// The line goes but the bit cannot: the line goes back in, so the letter keeps both, the box says
// it stays permanent, and the mapping stays for a second try.
TEST_F(BadDataFile, ReadOnlyDataFileRemovePermanentlyPutsTheLineBackAndSaysSo) {
  WriteText(Batch(), "subst P: \"C:\\Beds\"\r\nsubst Q: \"C:\\Work\"\r\n");
  WriteDataFileWithMask(kInitialMask | Bit(L'P') | Bit(L'Q'));
  ASSERT_TRUE(SetFileAttributesW(DataFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(Map(L'P', kBeds));
  const auto before = DataBytes();
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(PickUsed(L'P'));
  Press(ids::cmdRemove);
  auto asked = NextBox();
  ASSERT_TRUE(asked && asked->Has(IDYES)) << "no question after Remove of a permanent letter";
  ASSERT_TRUE(Answer(*asked, IDYES));
  auto removed = NextBox(20s);
  ASSERT_TRUE(removed) << "no box after Remove permanently";
  Seen("read-only data file Remove permanently", *removed);
  ASSERT_TRUE(Answer(*removed, IDOK));
  EXPECT_EQ(Narrow(removed->text),
            "The drive letter P stays permanent: its mark could not be cleared from the data "
            "file.\r\nError 70: Permission denied (Windows error 5: Access denied). The virtual "
            "drive was left as it is.");
  ExpectClearRefusal(*removed);
  EXPECT_EQ(ReadText(Batch()), "subst P: \"C:\\Beds\"\r\nsubst Q: \"C:\\Work\"\r\n");
  EXPECT_EQ(DataBytes(), before);
  EXPECT_TRUE(Mapped(L'P'));
  ExpectUsable();
}

TEST_F(BadDataFile, DataFileHeldWithoutSharingStillStartsAndMakePermanentSaysSo) {
  const auto before = DataBytes();
  HANDLE held = CreateFileW(DataFilePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_NO_FATAL_FAILURE(StartWith("held data file"));
  auto made = MakeWorkPermanent("held data file Make Permanent");
  CloseHandle(held);
  ASSERT_TRUE(made);
  ExpectClearRefusal(*made);
  EXPECT_EQ(DataBytes(), before);
  ExpectConsistentAndUsable();
}

// ---------------------------------------------------------------------------------------------
// A startup batch file that cannot be written or is not a file.

class BadStartupFile : public BadInput {
 protected:
  const std::string kOldLines = "subst P: \"C:\\Beds\"\r\n";
};

TEST_F(BadStartupFile, ReadOnlyBatchFileMakePermanentAndRemovePermanentlySaySoAndLoseNothing) {
  WriteText(Batch(), kOldLines);
  WriteDataFileWithMask(kInitialMask | Bit(L'P'));
  ASSERT_TRUE(SetFileAttributesW(Batch().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(Map(L'P', kBeds));
  const auto dataBefore = DataBytes();
  ASSERT_NE(Start(), nullptr);

  auto made = MakeWorkPermanent("read-only subit.bat Make Permanent");
  ASSERT_TRUE(made);
  ExpectClearRefusal(*made);
  EXPECT_EQ(ReadText(Batch()), kOldLines);
  EXPECT_EQ(DataBytes(), dataBefore);
  ExpectUsable();

  ASSERT_TRUE(PickUsed(L'P'));
  Press(ids::cmdRemove);
  auto asked = NextBox();
  ASSERT_TRUE(asked) << "no question after Remove of a permanent letter";
  ASSERT_TRUE(asked->Has(IDYES)) << Narrow(asked->text);
  ASSERT_TRUE(Answer(*asked, IDYES));
  auto removed = NextBox(20s);
  ASSERT_TRUE(removed) << "no box after Remove permanently";
  Seen("read-only subit.bat Remove permanently", *removed);
  ASSERT_TRUE(Answer(*removed, IDOK));
  EXPECT_FALSE(IsDone(*removed)) << "a removal that could not be saved reported as done";
  ExpectClearRefusal(*removed);
  EXPECT_EQ(ReadText(Batch()), kOldLines);
  EXPECT_EQ(DataBytes(), dataBefore);
  ExpectUsable();
  ExpectAddWorks(L'L');
}

TEST_F(BadStartupFile, FolderNamedLikeTheBatchFileMakePermanentSaysSoAndLeavesIt) {
  ASSERT_TRUE(CreateDirectoryW(Batch().c_str(), nullptr));
  const auto dataBefore = DataBytes();
  ASSERT_NE(Start(), nullptr);
  auto made = MakeWorkPermanent("folder named subit.bat Make Permanent");
  ASSERT_TRUE(made);
  ExpectClearRefusal(*made);
  EXPECT_TRUE(GetFileAttributesW(Batch().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(DataBytes(), dataBefore);
  ExpectUsable();
  ExpectAddWorks(L'L');
}

// ---------------------------------------------------------------------------------------------
// A file or folder named temp in the data folder: View and Restore.

enum class Blocker { Folder, ReadOnlyFile };

// Something named temp in the data folder, where a listing was once captured: View and Restore
// read subst's listing straight from its output, so it neither stops them nor is touched.
class StrayTempFile : public BadInput, public ::testing::WithParamInterface<Blocker> {
 protected:
  void SetUp() override {
    BadInput::SetUp();
    if (GetParam() == Blocker::Folder) {
      CreateDirectoryW(Temp().c_str(), nullptr);
    } else {
      WriteText(Temp(), "someone's notes\r\n");
      SetFileAttributesW(Temp().c_str(), FILE_ATTRIBUTE_READONLY);
    }
  }
  void TearDown() override {
    BadInput::TearDown();
    SetFileAttributesW(Temp().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Temp().c_str());
    RemoveDirectoryW(Temp().c_str());
  }
  static std::wstring Temp() { return DataFolder() + L"temp"; }
  bool TempAsBefore() const {
    const DWORD attributes = GetFileAttributesW(Temp().c_str());
    if (GetParam() == Blocker::Folder) {
      return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return attributes != INVALID_FILE_ATTRIBUTES && ReadText(Temp()) == "someone's notes\r\n";
  }
};

TEST_P(StrayTempFile, ViewAndRestoreWorkAndLeaveItAsItWas) {
  ASSERT_TRUE(Map(L'K', kWork));
  WriteText(Batch(), "subst K: \"C:\\Work\"\r\n");
  WriteDataFileWithMask(kInitialMask | Bit(L'K'));
  ASSERT_NE(Start(), nullptr);

  Choose(ids::mnuView);
  auto notice = NextBox();
  ASSERT_TRUE(notice && Answer(*notice, IDOK)) << "no notice after View";
  ASSERT_TRUE(AnswerNext(
      {L"K:\\: => C:\\Work\r\n", L"Assigned Virtual Drives", Icon::None, kOkOnly}, IDOK));
  EXPECT_TRUE(TempAsBefore());

  Choose(ids::mnuRepair);
  auto confirm = NextBox();
  ASSERT_TRUE(confirm && Answer(*confirm, IDOK)) << "no confirmation after Restore";
  EXPECT_TRUE(WaitFor(
      [&] { return !Mapped(L'K') && !Exists(Batch()) && StoredMask() == kInitialMask; }, 30s));
  EXPECT_TRUE(Quiet()) << "Restore ends without a box";
  EXPECT_TRUE(TempAsBefore());
  ExpectUsable();
}

INSTANTIATE_TEST_SUITE_P(Blockers, StrayTempFile,
                         ::testing::Values(Blocker::Folder, Blocker::ReadOnlyFile),
                         [](const ::testing::TestParamInfo<Blocker>& info) {
                           return std::string(info.param == Blocker::Folder ? "Folder"
                                                                            : "ReadOnlyFile");
                         });

}  // namespace
