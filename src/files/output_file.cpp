#include "files/output_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <filesystem>
#include <system_error>
#include <vector>

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>
#endif

#include "files/file_routines.h"
#include "files/number_text.h"
#include "files/stop_request.h"

namespace carteloom {
namespace fs = std::filesystem;

namespace {
// Unnamed files stay open until they are committed; a layer of thousands of
// waypoint files names the ones beyond these, so descriptors do not run out.
std::atomic<int> held_unnamed{0};
constexpr int kMaxHeldUnnamed = 64;

#ifdef __linux__
// An unnamed file in the target's folder, or nullptr where the file system
// (or a missing /proc, needed to name it later) does not allow one.
std::FILE* OpenUnnamed(const std::string& target) {
  static const bool procMounted = access("/proc/self/fd", X_OK) == 0;
  if (!procMounted) return nullptr;
  fs::path folder = fs::path(target).parent_path();
  if (folder.empty()) folder = ".";
  int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}
#endif

}  // namespace

OutputFile::OutputFile(std::string targetPath)
    : ownJournal_(std::make_unique<OutputJournal>()), journal_(ownJournal_.get()), target_(std::move(targetPath)) {
  Open();
}

OutputFile::OutputFile(std::string targetPath, OutputJournal& journal)
    : journal_(&journal), target_(std::move(targetPath)) {
  Open();
}

void OutputFile::Open() {
  // The journal is on the device before the first temporary file of its commit.
  journal_->Begin(target_);
#ifdef __linux__
  // Once as many are held as may be, this one would be named when it is
  // closed: it may as well have its name from the start.
  if (held_unnamed.load() < kMaxHeldUnnamed) file_ = OpenUnnamed(target_);
  unnamed_ = file_ != nullptr;
#endif
  // Otherwise a named temporary file in the target's folder, so that the
  // final move is a rename within one file system.
  if (file_ == nullptr) {
#ifdef __linux__
    // "x" takes no name that is there already, so none is looked up first.
    for (int attempt = 0; attempt < 1000 && file_ == nullptr; ++attempt) {
      temp_ = journal_->TemporaryName(target_);
      errno = 0;
      file_ = OpenFile(temp_, "wbx");
      if (file_ == nullptr && errno != EEXIST) break;
    }
#else
    std::error_code ec;
    do temp_ = journal_->TemporaryName(target_);
    while (fs::exists(NativePath(temp_), ec));
    errno = 0;
    file_ = OpenFile(temp_, "wb");
#endif
    if (file_ == nullptr) {
      temp_.clear();
      throw FileError(target_, ReasonForErrno(errno != 0 ? errno : EIO));
    }
  }
  // The buffer is ours: stdio writes each flush straight through.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  capacity_ = kFlushSize + 4096;
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::WriteLine(std::string_view bytes) {
  char* end = Room(bytes.size() + 2);
  if (!bytes.empty()) std::memcpy(end, bytes.data(), bytes.size());
  end += bytes.size();
  *end++ = '\r';
  *end++ = '\n';
  Advance(end);
}

// Writes out what the buffer holds, then grows it if n bytes would still not fit.
void OutputFile::MakeRoom(std::size_t n) {
  Flush();
  if (n <= capacity_) return;
  capacity_ = n;
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

void OutputFile::Flush() {
  if (file_ == nullptr || closed_) throw FileError(target_, "文件已经关闭");
  StopPoint();
  if (used_ == 0) return;
  errno = 0;
  std::size_t written = std::fwrite(buffer_.get(), 1, used_, file_);
  if (written != used_) {
    int error = errno != 0 ? errno : EIO;
    throw FileError(target_, ReasonForErrno(error));
  }
  used_ = 0;
}

void OutputFile::Close() {
  if (closed_ || file_ == nullptr) return;
  Flush();
  // A closed file waiting for its commit keeps no buffer: a layer holds thousands of them.
  buffer_.reset();
  capacity_ = 0;
  errno = 0;
  // On the device before anything can give the file the target's name.
  int error = std::fflush(file_) != 0 ? (errno != 0 ? errno : EIO) : SyncFile(file_);
  if (error != 0) {
    Discard();
    throw FileError(target_, ReasonForErrno(error));
  }
  closed_ = true;
  if (unnamed_) {
    if (held_unnamed.fetch_add(1) < kMaxHeldUnnamed) {
      held_ = true;
      return;
    }
    held_unnamed.fetch_sub(1);
    NameTemporary();
  }
  errno = 0;
  int result = std::fclose(file_);
  file_ = nullptr;
  if (result != 0) {
    int error = errno != 0 ? errno : EIO;
    Discard();
    throw FileError(target_, ReasonForErrno(error));
  }
}

void OutputFile::NameTemporary() {
#ifdef __linux__
  if (!unnamed_) return;
  const std::string link = "/proc/self/fd/" + IntegerText(fileno(file_));
  for (int attempt = 0; attempt < 1000; ++attempt) {
    // linkat takes no name that is there already, so none is looked up first.
    std::string name = journal_->TemporaryName(target_);
    if (linkat(AT_FDCWD, link.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp_ = std::move(name);
      unnamed_ = false;
      return;
    }
    if (errno != EEXIST) throw FileError(target_, ReasonForErrno(errno));
  }
  throw FileError(target_, "无法建立临时文件");
#endif
}

bool OutputFile::PlaceIfFree() {
#ifdef __linux__
  if (unnamed_) {
    const std::string link = "/proc/self/fd/" + IntegerText(fileno(file_));
    if (linkat(AT_FDCWD, link.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) != 0) return false;
    unnamed_ = false;
    return true;
  }
#endif
  if (temp_.empty() || MoveIfFree(temp_, target_)) return false;
  temp_.clear();
  return true;
}

void OutputFile::Commit() {
  OutputFile* self = this;
  CommitTogether(std::span<OutputFile* const>(&self, 1));
}

void OutputFile::Discard() noexcept {
  DiscardTemporary();
  if (ownJournal_) ownJournal_->Remove();
}

void OutputFile::DiscardTemporary() noexcept {
  if (file_ != nullptr) {
    if (held_) held_unnamed.fetch_sub(1);
    held_ = false;
    std::fclose(file_);
    file_ = nullptr;
  }
  unnamed_ = false;
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(NativePath(temp_), ec);
    temp_.clear();
  }
  used_ = 0;
}

void CommitTogether(std::span<OutputFile* const> files) {
  if (files.empty()) return;
  OutputJournal& journal = *files.front()->journal_;
  for (OutputFile* file : files) {
    if (file->journal_ != &journal) throw std::logic_error("files committed together share their journal");
    if (file->file_ == nullptr && file->temp_.empty()) throw FileError(file->target_, "文件已经关闭");
    file->Close();
  }
  // Each old target is set aside until every file is in place, so that it can come back.
  std::vector<OutputJournal::Move> moves;
  std::size_t touched = 0;  // moves begun, in order
  try {
    for (OutputFile* file : files)
      moves.push_back({file->target_, PathExists(file->target_) ? journal.SetAsideName(file->target_) : std::string()});
    journal.RecordMoves(moves);
    for (OutputFile* file : files) {
      const OutputJournal::Move& move = moves[touched];
      if (!move.setAside.empty())
        if (std::error_code ec = MoveReplacing(file->target_, move.setAside))
          throw FileError(file->target_, ReasonForError(ec));
      ++touched;
      // The common case, a target that is free, in one step.
      if (file->PlaceIfFree()) continue;
      file->NameTemporary();
      if (std::error_code ec = MoveReplacing(file->temp_, file->target_))
        throw FileError(file->target_, ReasonForError(ec));
      file->temp_.clear();
    }
    journal.RecordDone();
  } catch (...) {
    bool undone = true;
    while (touched > 0) {
      const OutputJournal::Move& move = moves[--touched];
      std::error_code ec;
      if (move.setAside.empty()) {
        if (PathExists(move.target)) fs::remove(NativePath(move.target), ec);
      } else if (PathExists(move.setAside)) {
        ec = MoveReplacing(move.setAside, move.target);
      }
      undone = undone && !ec;
    }
    for (OutputFile* file : files) file->DiscardTemporary();
    // What could not be undone here, the next run in the folder undoes.
    if (undone) journal.Remove(); else journal.Keep();
    throw;
  }
  for (const OutputJournal::Move& move : moves) {
    std::error_code ec;
    if (!move.setAside.empty()) fs::remove(NativePath(move.setAside), ec);
  }
  for (OutputFile* file : files) file->DiscardTemporary();  // closes a file that was held open unnamed
  journal.Remove();
}

}  // namespace carteloom
