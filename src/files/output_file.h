#pragma once
// An output file that appears only when it is complete: bytes go to a
// temporary file beside the target, which replaces the target on Commit().
// A file that is never committed leaves the target untouched. Where the
// system can (Linux), the temporary file has no name until it is committed.
// Every temporary name is one the commit's journal (output_journal.h)
// names, so what a killed process leaves behind is cleaned up by the next
// run in that folder.
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "files/output_journal.h"

namespace carteloom {

class OutputFile {
 public:
  // Creates the temporary file under the journal of the files it is
  // committed with, all in one folder; throws FileError naming targetPath.
  OutputFile(std::string targetPath, OutputJournal& journal);
  // A file committed alone, with a journal of its own.
  explicit OutputFile(std::string targetPath);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Room for up to n bytes at the end of the buffer, to be written in place
  // and kept with Advance(end): writers that know a bound on the length of
  // what they write build it there without a copy.
  char* Room(std::size_t n) {
    if (capacity_ - used_ < n) MakeRoom(n);
    return buffer_.get() + used_;
  }
  void Advance(const char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.get());
    Settle();
  }
  // The bytes followed by CR LF, on every platform.
  void WriteLine(std::string_view bytes);

  // Writes out every byte and finishes the temporary file; throws FileError.
  // Commit then only moves it, so that the outputs of one source can all be
  // complete before the first of them replaces anything.
  void Close();
  // Moves the finished file into place; throws FileError.
  void Commit();
  // Removes the temporary file (and a journal of its own); the target stays as it was.
  void Discard() noexcept;

  const std::string& Target() const { return target_; }

 private:
  friend void CommitTogether(std::span<OutputFile* const> files);
  // Creates the temporary file.
  void Open();
  void DiscardTemporary() noexcept;
  // Gives an unnamed temporary file its name beside the target.
  void NameTemporary();
  // Gives the finished file the target's name when nothing has it; false
  // when something has, or when that cannot be done in one step.
  bool PlaceIfFree();
  static constexpr std::size_t kFlushSize = 1 << 20;
  void Settle() {
    if (used_ >= kFlushSize) Flush();
  }
  void MakeRoom(std::size_t n);
  void Flush();

  std::unique_ptr<OutputJournal> ownJournal_;
  OutputJournal* journal_;
  std::string target_;
  std::string temp_;        // the temporary file's name, once it has one
  bool unnamed_ = false;    // the temporary file exists but has no name yet
  bool closed_ = false;     // every byte written; an unnamed file stays open until it is named
  bool held_ = false;       // closed, unnamed and counted among those held open
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
};

// Closes the files (their bytes on the device), then moves them into place
// together under their journal: when one cannot be moved, those already
// moved are taken back and the files they replaced are restored, so that
// either all of them replace their targets or none does, also across a
// crash. Throws FileError naming the file that failed.
void CommitTogether(std::span<OutputFile* const> files);

}  // namespace carteloom
