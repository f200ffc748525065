#pragma once
// The journal of one commit: a small file in the output folder that lets the
// outputs of one source replace the old files all together or not at all,
// even when the process is killed, the card is pulled or the power goes.
//
// Before the first temporary file exists, the journal is on the device with
// the token that every temporary and set-aside name of the commit carries.
// Before the first move it lists every target and where its old file goes;
// once every move is on the device it says so ("done"). A run that finds a
// journal of a dead run in its folder rolls that commit back (no "done": the
// old files return, the new ones go) or finishes it ("done": only the old
// files set aside remain to be removed), and touches no file the journal
// does not name.
#include <string>
#include <vector>

#include "files/file_routines.h"

namespace carteloom {

class OutputJournal {
 public:
  OutputJournal();
  // A journal still open is removed: its outputs were discarded.
  ~OutputJournal();
  OutputJournal(const OutputJournal&) = delete;
  OutputJournal& operator=(const OutputJournal&) = delete;

  // Puts the journal on the device, once, in target's folder, after the
  // journals of dead runs there are recovered; throws FileError naming target.
  void Begin(const std::string& target);
  // A new name for a temporary file of target: the journal's pattern, target.tmp~TOKEN~N.
  std::string TemporaryName(const std::string& target);
  // A name for the old file of target while the new one moves in: target.old~TOKEN~N, free.
  std::string SetAsideName(const std::string& target);

  struct Move {
    std::string target;
    std::string setAside;  // empty when no old file is there
  };
  // Lists the moves on the device before the first of them; throws FileError.
  void RecordMoves(const std::vector<Move>& moves);
  // Every move is on the device: from now on a recovery finishes the commit.
  void RecordDone();
  // The commit is over (or was undone): the journal goes.
  void Remove() noexcept;
  // The commit could not be undone: the journal stays for the next run.
  void Keep() noexcept;

  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  std::string token_;
  std::string path_;
  int counter_ = 0;
  LockedFile file_;  // the open journal, locked against other runs' recovery
};

struct RecoveredCommit {
  std::string journal;  // its path
  bool finished;        // true: finished; false: rolled back
};

// Rolls back or finishes the commits that dead runs left in folder; a journal
// that a live run holds is left alone. Throws FileError naming a file that
// could not be moved back (the journal then stays).
std::vector<RecoveredCommit> RecoverOutputFolder(const std::string& folder);

// Journals are looked for once per folder when writing starts there; a new
// batch looks again.
void ForgetRecoveredFolders();

}  // namespace carteloom
