#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/ascii_text.h"
#include "platform/text_lines.h"

namespace kestrane::fakes {

void Faults::Check(Call call) {
  const int n = ++counts_[call];
  auto it = armed_.find(call);
  if (it == armed_.end()) return;
  if (n == it->second.nth || (it->second.onward && n > it->second.nth)) Fail(it->second.number);
}

// ---- controls

// Entry by entry, as a list box takes them: a failure keeps those added before it.
void FakeControls::SetListItems(ControlId list, const std::vector<std::string>& items) {
  faults_.Check(Call::ControlsListClear);
  lists[list].clear();
  selected[list] = -1;
  for (const std::string& item : items) {
    faults_.Check(Call::ControlsListAdd);
    lists[list].push_back(item);
  }
}

int FakeControls::ListCount(ControlId list) const {
  auto it = lists.find(list);
  return it == lists.end() ? 0 : static_cast<int>(it->second.size());
}

std::string FakeControls::ListItem(ControlId list, int index) const {
  auto it = lists.find(list);
  if (it == lists.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
  return it->second[static_cast<std::size_t>(index)];
}

int FakeControls::ListIndex(ControlId list) const {
  auto it = selected.find(list);
  return it == selected.end() ? -1 : it->second;
}

std::string FakeControls::Text(ControlId id) const {
  auto it = texts.find(id);
  return it == texts.end() ? std::string() : it->second;
}

void FakeControls::SetText(ControlId id, const std::string& text) { texts[id] = text; }
void FakeControls::SetVisible(ControlId id, bool visible) {
  if (visible) {
    hidden.erase(id);
  } else {
    hidden.insert(id);
  }
}
bool FakeControls::Visible(ControlId id) const { return hidden.count(id) == 0; }
void FakeControls::SetFocus(ControlId id) { focus = id; }

void FakeControls::SetDriveItems(const std::vector<std::string>& items, int current) {
  driveItems = items;
  currentDriveItem = current;
}

void FakeControls::SetFolderRows(const std::vector<FolderRow>& rows, int highlighted) {
  folderRows = rows;
  folderHighlight = highlighted;
}

std::vector<std::string> FakeControls::Items(ControlId list) const {
  auto it = lists.find(list);
  return it == lists.end() ? std::vector<std::string>{} : it->second;
}

void FakeControls::Select(ControlId list, const std::string& item) {
  const auto& items = lists[list];
  auto it = std::find(items.begin(), items.end(), item);
  selected[list] = it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

// ---- dialogs

Answer FakeDialogs::MessageBox(const std::string& body, const std::string& title, Buttons buttons,
                               Icon icon) {
  Box box{body, title, buttons, icon, controls_.pointer};
  boxes.push_back(box);
  if (onBox) onBox(box);
  faults_.Check(Call::DialogsMessageBox);
  if (!answers.empty()) {
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel: return Answer::Ok;
    case Buttons::YesNo: return Answer::Yes;
    case Buttons::YesNoCancel: return Answer::Cancel;
  }
  return Answer::Cancel;
}

std::string FakeDialogs::InputBox(const std::string& prompt, const std::string& title) {
  prompts.push_back({prompt, title});
  faults_.Check(Call::DialogsInputBox);
  if (inputs.empty()) return {};
  std::string text = inputs.front();
  inputs.pop_front();
  return text;
}

void FakeControls::ShowAbout(const AboutBox& box) { abouts.push_back(box); }

// ---- drives

DriveType FakeDrives::Type(char letter) {
  faults_.Check(Call::DrivesType);
  ++typeQueries;
  auto it = drives.find(letter);
  if (it == drives.end()) Fail(err::kDeviceUnavailable);
  if (it->second.failNumber != 0) Fail(it->second.failNumber);
  return it->second.type;
}

std::int32_t FakeDrives::SerialNumber(char letter) {
  faults_.Check(Call::DrivesSerialNumber);
  ++serialQueries;
  auto it = drives.find(letter);
  if (it == drives.end()) Fail(err::kDeviceUnavailable);
  if (it->second.failNumber != 0) Fail(it->second.failNumber);
  if (!it->second.ready) Fail(err::kDiskNotReady);
  return it->second.serial;
}

std::vector<char> FakeDrives::Letters() {
  faults_.Check(Call::DrivesLetters);
  std::vector<char> out;
  for (const auto& [letter, drive] : drives) out.push_back(letter);
  return out;
}

std::string FakeDrives::Label(char letter) {
  auto it = drives.find(letter);
  return it == drives.end() ? std::string() : it->second.label;
}

// Each drive as the adapter's worker looks at it: the type, then, but for a network drive, the
// serial number twice, then the label.
std::vector<DriveFacts> FakeDrives::Probe(const std::vector<char>& letters, int limitMs) {
  probeLimits.push_back(limitMs);
  const auto failure = [](auto&& call) {
    try {
      call();
      return 0;
    } catch (const FileError& e) {
      return e.Number();
    } catch (const std::exception&) {
      return err::kInvalidCall;
    }
  };
  std::vector<DriveFacts> out;
  for (const char letter : letters) {
    DriveFacts f;
    f.letter = letter;
    const auto it = drives.find(letter);
    if (it == drives.end() || it->second.answers) {
      f.answered = true;
      f.typeFailure = failure([&] { f.type = Type(letter); });
      if (f.typeFailure == 0 && f.type != DriveType::Remote) {
        f.volumeFailure = failure([&] {
          f.serial = SerialNumber(letter);
          f.serialAgain = SerialNumber(letter);
        });
      }
      if (f.typeFailure == 0 && f.volumeFailure == 0) f.label = Label(letter);
    }
    out.push_back(f);
  }
  return out;
}

LetterTarget FakeDrives::Target(char letter) {
  auto it = drives.find(letter);
  if (it == drives.end()) return {};
  if (it->second.substFolder.empty()) return {LetterKind::Device, {}};
  return {LetterKind::Virtual, it->second.substFolder};
}

void FakeDrives::Add(char letter, DriveType type, std::int32_t serial, bool ready) {
  drives[letter] = Drive{type, serial, ready, 0, {}, {}, true};
}

// ---- files

std::string FakeFiles::ShortPath(const std::string& path) {
  auto it = shortPaths.find(Key(path));
  return it == shortPaths.end() ? std::string() : it->second;
}

std::string FakeFiles::Key(const std::string& path) {
  std::string key;
  for (char ch : path) {
    const char c = ch == '/' ? '\\' : AsciiUpper(ch);
    key += c;
  }
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

std::string FakeFiles::Parent(const std::string& key) const {
  const auto slash = key.rfind('\\');
  if (slash == std::string::npos) return {};
  if (slash == 2) return key.substr(0, 3);
  return key.substr(0, slash);
}

const FakeFiles::Entry* FakeFiles::Find(const std::string& path) const {
  auto it = files.find(Key(path));
  return it == files.end() ? nullptr : &it->second;
}

FakeFiles::Entry* FakeFiles::Find(const std::string& path) {
  auto it = files.find(Key(path));
  return it == files.end() ? nullptr : &it->second;
}

void FakeFiles::AddFolder(const std::string& path, bool hidden) {
  std::string key = Key(path);
  folders[key] = hidden;
  names[key] = path;
  std::string original = path;
  while (original.size() > 3 && (original.back() == '\\' || original.back() == '/'))
    original.pop_back();
  for (std::string p = Parent(key); !p.empty() && p != key; p = Parent(p)) {
    original = original.substr(0, std::max<std::size_t>(p.size(), 3));
    if (!folders.count(p)) {
      folders[p] = false;
      names[p] = original;
    }
    if (p.size() == 3) break;
  }
}

void FakeFiles::AddFile(const std::string& path, const Bytes& bytes, bool hidden) {
  const std::string key = Key(path);
  const std::string parent = Parent(key);
  if (!parent.empty() && !folders.count(parent)) AddFolder(parent);
  files[key] = Entry{bytes, hidden, false, false};
  names[key] = path;
}

void FakeFiles::AddText(const std::string& path, const std::string& text) {
  AddFile(path, Bytes(text.begin(), text.end()));
}

std::optional<std::string> FakeFiles::TextOf(const std::string& path) const {
  const Entry* e = Find(path);
  if (!e) return std::nullopt;
  return std::string(e->bytes.begin(), e->bytes.end());
}

bool FakeFiles::FileExists(const std::string& path) {
  faults_.Check(Call::FilesFileExists);
  return Find(path) != nullptr;
}

std::uint64_t FakeFiles::FileSize(const std::string& path) {
  const Entry* e = Find(path);
  if (!e) Fail(err::kFileNotFound);
  return e->bytes.size();
}

bool FakeFiles::DirectoryExists(const std::string& path, bool includeHidden) {
  faults_.Check(Call::FilesDirectoryExists);
  auto it = folders.find(Key(path));
  if (it == folders.end()) return false;
  return includeHidden || !it->second;
}

std::vector<std::string> FakeFiles::SubFolders(const std::string& path) {
  faults_.Check(Call::FilesSubFolders);
  const std::string key = Key(path);
  for (const std::string& silent : unanswering) {
    if (Key(silent) == key) throw NoAnswer(path);
  }
  if (!folders.count(key)) Fail(err::kPathNotFound);
  std::vector<std::string> out;
  for (const auto& [k, hidden] : folders) {
    if (hidden || k == key || Parent(k) != key) continue;
    auto n = names.find(k);
    const std::string full = n == names.end() ? k : Key(n->second) == k ? n->second : k;
    out.push_back(full.substr(full.rfind('\\') + 1));
  }
  return out;
}

namespace {

class FakeRecordFile : public RecordFile {
 public:
  FakeRecordFile(FakeFiles& files, std::string path, int length)
      : files_(files), path_(std::move(path)), length_(length) {}
  Bytes Read(int record) override {
    files_.faults().Check(Call::RecordFileRead);
    const FakeFiles::Entry* e = files_.Find(path_);
    if (!e) Fail(err::kFileNotFound);
    Bytes out(static_cast<std::size_t>(length_), 0);
    const std::size_t start =
        static_cast<std::size_t>(record - 1) * static_cast<std::size_t>(length_);
    for (std::size_t i = 0; i < out.size() && start + i < e->bytes.size(); ++i)
      out[i] = e->bytes[start + i];
    return out;
  }
  void Write(int record, const Bytes& bytes) override {
    files_.faults().Check(Call::RecordFileWrite);
    files_.writes.emplace_back(FakeFiles::Key(path_), files_.leaseHeld > 0);
    FakeFiles::Entry* e = files_.Find(path_);
    if (!e) Fail(err::kFileNotFound);
    if (e->readOnly) Fail(err::kPermissionDenied);
    const std::size_t start =
        static_cast<std::size_t>(record - 1) * static_cast<std::size_t>(length_);
    if (e->bytes.size() < start + bytes.size()) e->bytes.resize(start + bytes.size(), 0);
    std::copy(bytes.begin(), bytes.end(), e->bytes.begin() + static_cast<std::ptrdiff_t>(start));
  }

 private:
  FakeFiles& files_;
  std::string path_;
  int length_;
};

}  // namespace

std::unique_ptr<RecordFile> FakeFiles::OpenRecords(const std::string& path, int recordLength) {
  faults_.Check(Call::FilesOpenRecords);
  Entry* e = Find(path);
  if (!e) Fail(folders.count(Parent(Key(path))) ? err::kFileNotFound : err::kPathNotFound);
  if (e->locked) Fail(err::kPermissionDenied);
  return std::make_unique<FakeRecordFile>(*this, path, recordLength);
}

std::vector<std::string> FakeFiles::ReadLines(const std::string& path) {
  faults_.Check(Call::FilesReadLines);
  const Entry* e = Find(path);
  if (!e) Fail(folders.count(Key(path)) ? err::kPathFileAccess : err::kFileNotFound);
  if (e->locked) Fail(err::kPermissionDenied);
  return SplitLines(std::string(e->bytes.begin(), e->bytes.end()));
}

void FakeFiles::AppendLine(const std::string& path, const std::string& line) {
  faults_.Check(Call::FilesAppendLine);
  writes.emplace_back(Key(path), leaseHeld > 0);
  if (folders.count(Key(path))) Fail(err::kPathFileAccess);
  Entry* e = Find(path);
  if (!e) {
    if (!folders.count(Parent(Key(path)))) Fail(err::kPathNotFound);
    AddFile(path, {});
    e = Find(path);
  }
  if (e->readOnly || e->locked) Fail(err::kPermissionDenied);
  e->bytes.insert(e->bytes.end(), line.begin(), line.end());
  e->bytes.push_back('\r');
  e->bytes.push_back('\n');
}

void FakeFiles::ReplaceLines(const std::string& path, const std::vector<std::string>& lines) {
  faults_.Check(Call::FilesReplaceLines);
  writes.emplace_back(Key(path), leaseHeld > 0);
  if (folders.count(Key(path))) Fail(err::kPathFileAccess);
  if (!folders.count(Parent(Key(path)))) Fail(err::kPathNotFound);
  Entry* e = Find(path);
  if (e && (e->readOnly || e->locked)) Fail(err::kPermissionDenied);
  const std::string text = JoinLines(lines);
  const Bytes bytes(text.begin(), text.end());
  if (e) {
    e->bytes = bytes;
  } else {
    AddFile(path, bytes);
  }
}

void FakeFiles::Delete(const std::string& path) {
  faults_.Check(Call::FilesDelete);
  writes.emplace_back(Key(path), leaseHeld > 0);
  Entry* e = Find(path);
  if (!e) Fail(err::kFileNotFound);
  if (e->readOnly || e->locked) Fail(err::kPermissionDenied);
  files.erase(Key(path));
}

namespace {

class FakeLease : public FileLease {
 public:
  explicit FakeLease(int& held) : held_(held) { ++held_; }
  ~FakeLease() override { --held_; }

 private:
  int& held_;
};

}  // namespace

std::unique_ptr<FileLease> FakeFiles::Lease(const std::string&, int) {
  // One thread cannot wait for itself: a lease asked for while this copy holds it would never
  // be had.
  if (leasedElsewhere || leaseHeld > 0) Fail(err::kFileInUse);
  return std::make_unique<FakeLease>(leaseHeld);
}

// ---- processes

ProcessOutcome FakeProcesses::RunHidden(const std::string& commandLine,
                                        const std::string& directory, int limitMs) {
  faults_.Check(Call::ProcessesRunHidden);
  runs.push_back(Run{commandLine, directory, limitMs, false});
  if (behaviour) return behaviour(runs.back());
  return ProcessOutcome{true, true, 0};
}

CapturedRun FakeProcesses::RunCaptured(const std::string& commandLine, const std::string& directory,
                                       int limitMs) {
  faults_.Check(Call::ProcessesRunCaptured);
  runs.push_back(Run{commandLine, directory, limitMs, true});
  output.clear();
  CapturedRun captured;
  captured.run = behaviour ? behaviour(runs.back()) : ProcessOutcome{true, true, 0};
  if (captured.run.finished) captured.lines = std::move(output);
  output.clear();
  return captured;
}

// ---- shell

FolderAnswer FakeShell::AppDataFolder() {
  faults_.Check(Call::ShellAppDataFolder);
  return appData;
}

std::string FakeShell::StartupFolder() {
  faults_.Check(Call::ShellStartupFolder);
  return startup;
}

std::string FakeShell::SystemFolder() {
  faults_.Check(Call::ShellSystemFolder);
  return system;
}

void FakeShell::HtmlHelp(const std::string& file, unsigned command, unsigned long data) {
  faults_.Check(Call::ShellHtmlHelp);
  helpCalls.push_back({file, command, data});
}

// ---- machine

Machine::Machine() = default;

void Machine::InstallDataFile(std::int32_t mask) {
  DataRecord rec;
  rec.LetterMask = mask;
  Bytes bytes(kRecordLength, 0);
  const Bytes two = rec.Encode();
  bytes.insert(bytes.end(), two.begin(), two.end());
  files.AddFolder(DataFolder());
  files.AddFile(DataFilePath(), bytes);
}

std::int32_t Machine::StoredMask() const {
  const FakeFiles::Entry* e = files.Find(DataFilePath());
  if (!e || e->bytes.size() < kRecordLength + kRecordBytes) return 0;
  Bytes slot(e->bytes.begin() + kRecordLength, e->bytes.begin() + 2 * kRecordLength);
  return DataRecord::Decode(slot).LetterMask;
}

void Machine::StandardSetup() {
  drives.Add('C', DriveType::Fixed, 0x2A1B3C4D);
  files.AddFolder("C:\\");
  files.AddFolder("C:\\Program Files\\Kestrane");
  files.AddFolder("C:\\Windows");
  files.AddFolder("C:\\Work");
  files.AddFolder(shell.startup);
  InstallDataFile();
}

void Machine::Pick(ControlId list, const std::string& entry) {
  controls.Select(list, entry);
  const int index = controls.ListIndex(list);
  if (list == ControlId::lstAvail) {
    form.lstAvail_Click(index);
  } else {
    form.lstUsedLtrs_Click(index);
  }
}

void Machine::Choose(const std::string& folder) {
  const auto& drives = controls.driveItems;
  const auto drive = std::find_if(drives.begin(), drives.end(), [&](const std::string& item) {
    return !item.empty() && AsciiLower(item[0]) == AsciiLower(folder[0]);
  });
  if (drive == drives.end()) {
    ADD_FAILURE() << "no drive list entry for " << folder;
    return;
  }
  form.Event(Id(ControlId::DrvList), ControlEvent::Pick, static_cast<int>(drive - drives.begin()));
  form.Event(Id(ControlId::dirList), ControlEvent::Open, 0);  // the drive's root, read afresh
  std::string name;
  std::istringstream rest(folder.size() > 3 ? folder.substr(3) : std::string());
  while (std::getline(rest, name, '\\')) {
    const auto& rows = controls.folderRows;
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const auto& r) { return !r.open && r.name == name; });
    if (row == rows.end()) {
      ADD_FAILURE() << "no folder list row " << name << " on the way to " << folder;
      return;
    }
    form.Event(Id(ControlId::dirList), ControlEvent::Open, static_cast<int>(row - rows.begin()));
  }
}

bool Machine::Load() {
  const bool ok = form.Form_Load();
  if (ok) form.Form_Activate();
  return ok;
}

}  // namespace kestrane::fakes
