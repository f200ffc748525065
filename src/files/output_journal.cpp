#include "files/output_journal.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "files/file_routines.h"
#include "files/number_text.h"
#include "files/paths.h"

namespace carteloom {
namespace fs = std::filesystem;

namespace {

// carteloom~TOKEN.journal, holding:
//   carteloom output journal 1
//   temporaries TOKEN
//   place LENGTH TARGET LENGTH SET-ASIDE     (one per output; names in the folder; length 0: none)
//   moves                                    (the list is whole: the moves may have started)
//   done                                     (every move is on the device)
// Each part is appended and flushed before what it announces is done, so a
// part cut short by a crash announces nothing.
constexpr std::string_view kJournalStart = "carteloom~";
constexpr std::string_view kJournalEnd = ".journal";
constexpr std::string_view kHeader = "carteloom output journal 1\n";
constexpr std::string_view kTemporaries = "temporaries ";
constexpr std::string_view kPlace = "place ";
constexpr std::string_view kMoves = "moves\n";
constexpr std::string_view kDone = "done\n";

std::atomic<int> journal_counter{0};
std::mutex scanned_mutex;
std::set<std::string> scanned_folders;

// folder + name, where a folder taken from a path keeps its separator.
std::string Joined(const std::string& folder, std::string_view name) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder + std::string(name);
  return InFolder(folder, name);
}

// The folder of path with its last separator; a doubled one (T:\\name) is
// read as one, as the file system reads it, but not by a folder listing.
std::string FolderOf(const std::string& path) {
  std::size_t start = NameStart(path);
  while (start > 1 && NameStart(std::string_view(path).substr(0, start - 1)) == start - 1) --start;
  return start == 0 ? std::string(".") : path.substr(0, start);
}

std::string ProcessId() {
#ifdef _WIN32
  return IntegerText(_getpid());
#else
  return IntegerText(getpid());
#endif
}

std::string Counted(std::string_view name) { return IntegerText(static_cast<std::int64_t>(name.size())) + " " + std::string(name); }

struct JournalText {
  std::optional<std::string> token;  // none: the header never reached the device
  std::vector<OutputJournal::Move> moves;
  bool moving = false;
  bool done = false;
};

// Reads "LENGTH BYTES" at text[at]; false when it is not there whole.
bool ReadCounted(std::string_view text, std::size_t& at, std::string& out) {
  std::size_t length = 0, digits = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 6) length = length * 10 + (text[at++] - '0'), ++digits;
  if (digits == 0 || at >= text.size() || text[at] != ' ' || text.size() - at - 1 < length) return false;
  out.assign(text.substr(at + 1, length));
  at += 1 + length;
  return true;
}

// The parts of a journal up to the first one that is not whole.
JournalText ParseJournal(std::string_view text) {
  JournalText journal;
  if (text.substr(0, kHeader.size()) != kHeader) return journal;
  std::size_t at = kHeader.size();
  if (text.substr(at, kTemporaries.size()) != kTemporaries) return journal;
  const std::size_t end = text.find('\n', at);
  if (end == std::string_view::npos) return journal;
  journal.token = std::string(text.substr(at + kTemporaries.size(), end - at - kTemporaries.size()));
  at = end + 1;
  std::vector<OutputJournal::Move> moves;
  while (text.substr(at, kPlace.size()) == kPlace) {
    at += kPlace.size();
    OutputJournal::Move move;
    if (!ReadCounted(text, at, move.target) || at >= text.size() || text[at++] != ' ' ||
        !ReadCounted(text, at, move.setAside) || at >= text.size() || text[at++] != '\n')
      return journal;
    moves.push_back(std::move(move));
  }
  if (text.substr(at, kMoves.size()) != kMoves) return journal;
  journal.moves = std::move(moves);
  journal.moving = true;
  journal.done = text.substr(at + kMoves.size(), kDone.size()) == kDone;
  return journal;
}

// NAME.tmp~TOKEN~DIGITS: a temporary file of the commit whose token this is.
bool IsTemporaryOf(std::string_view name, const std::string& token) {
  const std::string mark = ".tmp~" + token + "~";
  const std::size_t at = name.rfind(mark);
  if (at == std::string_view::npos || at == 0 || at + mark.size() == name.size()) return false;
  for (char c : name.substr(at + mark.size()))
    if (c < '0' || c > '9') return false;
  return true;
}

void RemoveFile(const std::string& path) {
  std::error_code ec;
  if (PathExists(path) && !fs::remove(NativePath(path), ec) && ec) throw FileError(path, ReasonForError(ec));
}

// Rolls back or finishes one dead run's commit; nothing when a live run holds the journal.
std::optional<RecoveredCommit> RecoverJournal(const std::string& folder, const std::string& path) {
  LockedFile file;
  if (file.Open(path, false) != 0) return std::nullopt;
  const JournalText journal = ParseJournal(file.Contents());
  if (journal.token) {
    if (journal.done) {
      for (const OutputJournal::Move& move : journal.moves)
        if (!move.setAside.empty()) RemoveFile(Joined(folder, move.setAside));
    } else if (journal.moving) {
      // Backwards, as the moves were made: each old file returns over the new one.
      for (auto move = journal.moves.rbegin(); move != journal.moves.rend(); ++move) {
        const std::string target = Joined(folder, move->target);
        if (move->setAside.empty()) {
          RemoveFile(target);  // there was none: what is there now is this commit's
          continue;
        }
        const std::string setAside = Joined(folder, move->setAside);
        if (!PathExists(setAside)) continue;  // never moved
        if (std::error_code ec = MoveReplacing(setAside, target)) throw FileError(target, ReasonForError(ec));
      }
    }
    std::vector<std::string> names;
    FolderNames(folder, names);
    for (const std::string& name : names)
      if (IsTemporaryOf(name, *journal.token)) RemoveFile(Joined(folder, name));
    if (int error = SyncFolder(folder)) throw FileError(path, ReasonForErrno(error));
  }
  // Without its header nothing else of the run was made yet.
  file.Close();
  RemoveFile(path);
  return RecoveredCommit{path, journal.done};
}

void RecoverOnce(const std::string& folder) {
  std::lock_guard lock(scanned_mutex);
  if (!scanned_folders.insert(ComparablePath(folder)).second) return;
  RecoverOutputFolder(folder);
}

}  // namespace

std::vector<RecoveredCommit> RecoverOutputFolder(const std::string& folder) {
  std::vector<std::string> journals, names;
  if (!FolderNames(folder, names)) throw FileError(folder, ReasonForErrno(ENOENT));
  for (const std::string& name : names) {
    if (name.size() > kJournalStart.size() + kJournalEnd.size() && name.starts_with(kJournalStart) &&
        name.ends_with(kJournalEnd))
      journals.push_back(Joined(folder, name));
  }
  std::vector<RecoveredCommit> recovered;
  for (const std::string& journal : journals)
    if (auto commit = RecoverJournal(folder, journal)) recovered.push_back(std::move(*commit));
  return recovered;
}

void ForgetRecoveredFolders() {
  std::lock_guard lock(scanned_mutex);
  scanned_folders.clear();
}

OutputJournal::OutputJournal() = default;

OutputJournal::~OutputJournal() { Remove(); }

void OutputJournal::Begin(const std::string& target) {
  if (file_.IsOpen()) return;
  folder_ = FolderOf(target);
  RecoverOnce(folder_);
  int error = EEXIST;
  for (int attempt = 0; attempt < 1000 && error == EEXIST; ++attempt) {
    token_ = ProcessId() + "-" + IntegerText(journal_counter++);
    path_ = Joined(folder_, std::string(kJournalStart) + token_ + std::string(kJournalEnd));
    error = file_.Open(path_, true);
  }
  if (error == 0) {
    error = file_.Append(std::string(kHeader) + std::string(kTemporaries) + token_ + "\n");
    // The journal's own name on the device, before any file it names exists.
    if (error == 0) error = SyncFolder(folder_);
    if (error != 0) Remove();
  }
  if (error != 0) {
    path_.clear();
    throw FileError(target, ReasonForErrno(error));
  }
}

std::string OutputJournal::TemporaryName(const std::string& target) {
  return target + ".tmp~" + token_ + "~" + IntegerText(counter_++);
}

std::string OutputJournal::SetAsideName(const std::string& target) {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::string name = target + ".old~" + token_ + "~" + IntegerText(counter_++);
    std::error_code ec;
    if (!fs::exists(NativePath(name), ec) && !ec) return name;
  }
  throw FileError(target, "无法建立临时文件");
}

void OutputJournal::RecordMoves(const std::vector<Move>& moves) {
  std::string text;
  for (const Move& move : moves) {
    const std::size_t start = NameStart(move.target);
    if (FolderOf(move.target) != folder_) throw std::logic_error("one commit, one folder");
    text.append(kPlace).append(Counted(std::string_view(move.target).substr(start))).append(" ");
    text.append(Counted(move.setAside.empty() ? "" : std::string_view(move.setAside).substr(NameStart(move.setAside))));
    text += '\n';
  }
  text.append(kMoves);
  if (int error = file_.Append(text)) throw FileError(path_, ReasonForErrno(error));
}

void OutputJournal::RecordDone() {
  if (int error = SyncFolder(folder_)) throw FileError(path_, ReasonForErrno(error));
  if (int error = file_.Append(kDone)) throw FileError(path_, ReasonForErrno(error));
}

void OutputJournal::Remove() noexcept {
  if (!path_.empty()) {
#ifdef _WIN32
    file_.Close();  // there a file held open cannot be removed
#endif
    std::error_code ec;
    fs::remove(NativePath(path_), ec);
    path_.clear();
  }
  file_.Close();
}

void OutputJournal::Keep() noexcept {
  file_.Close();
  path_.clear();
}

}  // namespace carteloom
