#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/frm_qor_pro.h"
#include "fakes/faults.h"
#include "info/about.h"
#include "platform/file_error.h"
#include "ui/ports.h"

namespace kestrane::fakes {

// The command line's start of every subst run on a machine of fakes: the system folder's.
inline const std::string kSubst = "\"C:\\Windows\\system32\\subst.exe\"";

class FakeControls : public Controls {
 public:
  explicit FakeControls(Faults& faults) : faults_(faults) {}
  void SetListItems(ControlId list, const std::vector<std::string>& items) override;
  int ListCount(ControlId list) const;
  std::string ListItem(ControlId list, int index) const;
  int ListIndex(ControlId list) const;
  void ListSelect(ControlId list, int index) override { selected[list] = index; }
  std::string Text(ControlId id) const;
  void SetText(ControlId id, const std::string& text) override;
  void SetVisible(ControlId id, bool visible) override;
  bool Visible(ControlId id) const;
  void SetFocus(ControlId id) override;
  void SetDriveItems(const std::vector<std::string>& items, int current) override;
  void SetFolderRows(const std::vector<FolderRow>& rows, int highlighted) override;
  int FolderHighlight() const override { return folderHighlight; }
  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetMousePointer(MousePointer p) override { pointer = p; }
  TwipsRect WindowRect() const override { return window; }
  void MoveWindow(const TwipsRect& rect) override { window = rect; }
  int ScreenWidth() const override { return screenWidth; }
  int ScreenHeight() const override { return screenHeight; }
  void FocusWindow() override { focus.reset(); }
  void EndProgram() override { ended = true; }
  void ShowAbout(const AboutBox& box) override;

  // Test helpers.
  std::vector<std::string> Items(ControlId list) const;
  void Select(ControlId list, const std::string& item);

  std::map<ControlId, std::vector<std::string>> lists;
  std::map<ControlId, int> selected;
  std::map<ControlId, std::string> texts;
  std::set<ControlId> hidden;
  std::optional<ControlId> focus;
  std::vector<std::string> driveItems;
  int currentDriveItem = -1;
  std::vector<FolderRow> folderRows;
  int folderHighlight = -1;
  std::string caption = "Kestrane";
  MousePointer pointer = MousePointer::Default;
  TwipsRect window{0, 0, 7140, 5000};
  int screenWidth = 15360;
  int screenHeight = 11520;
  bool ended = false;
  std::vector<AboutBox> abouts;

 private:
  Faults& faults_;
};

struct Box {
  std::string body;
  std::string title;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  MousePointer pointerWhenShown = MousePointer::Default;
};

class FakeDialogs : public Dialogs {
 public:
  FakeDialogs(Faults& faults, FakeControls& controls) : faults_(faults), controls_(controls) {}
  Answer MessageBox(const std::string& body, const std::string& title, Buttons buttons,
                    Icon icon) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;

  // Answers given in turn; when none is queued: Ok, or Yes, or Cancel for Yes/No/Cancel.
  std::deque<Answer> answers;
  std::deque<std::string> inputs;  // texts typed into input boxes; empty: Cancel
  std::vector<Box> boxes;
  struct Prompt {
    std::string prompt;
    std::string title;
  };
  std::vector<Prompt> prompts;
  std::function<void(const Box&)> onBox;  // runs while a box is open

 private:
  Faults& faults_;
  FakeControls& controls_;
};

class FakeDrives : public Drives {
 public:
  explicit FakeDrives(Faults& faults) : faults_(faults) {}
  struct Drive {
    DriveType type = DriveType::Fixed;
    std::int32_t serial = 0;
    bool ready = true;
    int failNumber = 0;  // any other failure on every query
    std::string label;
    std::string substFolder;  // the folder of a virtual drive; empty for a device
    bool answers = true;      // false: its probe never comes back, as a lost server's
  };
  DriveType Type(char letter) override;
  std::int32_t SerialNumber(char letter) override;
  std::vector<char> Letters() override;
  std::string Label(char letter) override;
  std::vector<DriveFacts> Probe(const std::vector<char>& letters, int limitMs) override;
  LetterTarget Target(char letter) override;

  void Add(char letter, DriveType type, std::int32_t serial = 0x1234, bool ready = true);
  std::map<char, Drive> drives;
  int typeQueries = 0;
  int serialQueries = 0;
  std::vector<int> probeLimits;  // each probe's limit, in order

 private:
  Faults& faults_;
};

// An in-memory file system with Windows path rules (case-insensitive, backslashes).
class FakeFiles : public Files {
 public:
  explicit FakeFiles(Faults& faults) : faults_(faults) {}
  bool FileExists(const std::string& path) override;
  std::uint64_t FileSize(const std::string& path) override;
  bool DirectoryExists(const std::string& path, bool includeHidden) override;
  std::vector<std::string> SubFolders(const std::string& path) override;
  std::string CurrentDirectory() override { return currentDirectory; }
  std::unique_ptr<RecordFile> OpenRecords(const std::string& path, int recordLength) override;
  std::vector<std::string> ReadLines(const std::string& path) override;
  void AppendLine(const std::string& path, const std::string& line) override;
  void ReplaceLines(const std::string& path, const std::vector<std::string>& lines) override;
  void Delete(const std::string& path) override;
  bool CanEncode(const std::string& text) override {
    return unencodable.empty() || text.find(unencodable) == std::string::npos;
  }
  std::string ShortPath(const std::string& path) override;
  std::unique_ptr<FileLease> Lease(const std::string& path, int waitMs) override;

  // The lease as a second copy of the program sees it: held by this one, or by another that
  // never lets go (every Lease then fails as a wait that ran out).
  int leaseHeld = 0;
  bool leasedElsewhere = false;
  // Each write, and whether the lease was held for it.
  std::vector<std::pair<std::string, bool>> writes;

  std::set<std::string> unanswering;              // Keys of folders whose listing never comes back
  std::string unencodable;                        // a text holding this cannot be encoded
  std::map<std::string, std::string> shortPaths;  // Key -> the short path the volume keeps
  struct Entry {
    Bytes bytes;
    bool hidden = false;
    bool readOnly = false;
    bool locked = false;  // held open by another program without sharing
  };
  // Test helpers; AddFolder creates the parents too.
  void AddFolder(const std::string& path, bool hidden = false);
  void AddFile(const std::string& path, const Bytes& bytes, bool hidden = false);
  void AddText(const std::string& path, const std::string& text);
  std::optional<std::string> TextOf(const std::string& path) const;
  const Entry* Find(const std::string& path) const;
  Entry* Find(const std::string& path);
  static std::string Key(const std::string& path);

  std::map<std::string, Entry> files;        // by Key
  std::map<std::string, std::string> names;  // Key -> path as created
  std::map<std::string, bool> folders;       // Key -> hidden
  std::string currentDirectory = "C:\\Program Files\\Kestrane";
  Faults& faults() { return faults_; }

 private:
  std::string Parent(const std::string& key) const;
  Faults& faults_;
};

class FakeProcesses : public Processes {
 public:
  explicit FakeProcesses(Faults& faults) : faults_(faults) {}
  ProcessOutcome RunHidden(const std::string& commandLine, const std::string& directory,
                           int limitMs) override;
  CapturedRun RunCaptured(const std::string& commandLine, const std::string& directory,
                          int limitMs) override;

  struct Run {
    std::string commandLine;
    std::string directory;
    int limitMs = 0;
    bool captured = false;  // its output was asked for
  };
  std::vector<Run> runs;
  // Decides each run's outcome (and may act on the other fakes); default: ran and exited 0.
  std::function<ProcessOutcome(const Run&)> behaviour;
  // What a captured run wrote, set by the behaviour; read back once the run has ended.
  std::vector<std::string> output;

 private:
  Faults& faults_;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(Faults& faults) : faults_(faults) {}
  FolderAnswer AppDataFolder() override;
  std::string StartupFolder() override;
  std::string SystemFolder() override;
  std::string ProgramFolder() override { return programFolder; }
  OsVersion Version() override {
    faults_.Check(Call::ShellVersion);
    return version;
  }
  void OpenWebPage(const std::string& address) override { opened.push_back(address); }
  void HtmlHelp(const std::string& file, unsigned command, unsigned long data) override;

  FolderAnswer appData{0, "C:\\Users\\ann\\AppData\\Roaming"};
  std::string startup =
      "C:\\Users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
  std::string system = "C:\\Windows\\system32";
  std::string programFolder = "C:\\Program Files\\Kestrane";
  OsVersion version{2, 10, 0};
  std::vector<std::string> opened;
  struct HelpCall {
    std::string file;
    unsigned command = 0;
    unsigned long data = 0;
  };
  std::vector<HelpCall> helpCalls;

 private:
  Faults& faults_;
};

// A whole machine of fakes and the main window on it.
struct Machine {
  Machine();
  Faults faults;
  FakeControls controls{faults};
  FakeDialogs dialogs{faults, controls};
  FakeDrives drives{faults};
  FakeFiles files{faults};
  FakeProcesses processes{faults};
  FakeShell shell{faults};
  Ports ports{controls, dialogs, drives, files, processes, shell};
  frmQOR_Pro form{ports};

  std::string DataFolder() const { return shell.appData.path + "\\Halvecki\\Kestrane\\"; }
  std::string DataFilePath() const { return DataFolder() + "himem32.qor"; }
  std::string BatchPath() const { return shell.startup + "\\subit.bat"; }
  // The data file as an installation leaves it, with a chosen mask in record 2.
  void InstallDataFile(std::int32_t mask = kInitialMask);
  std::int32_t StoredMask() const;
  // A typical machine: C: fixed with a few folders, the data file, and start-up done.
  void StandardSetup();
  bool Load();
  // The user clicks an entry ("K:") of a letter list; a missing entry clicks no row.
  void Pick(ControlId list, const std::string& entry);
  // The user walks to a folder: picks its drive in the drive list, then opens each folder on the
  // way in the folder list. A step that is not on the screen fails the test.
  void Choose(const std::string& folder);
};

}  // namespace kestrane::fakes
