#pragma once
// A batch's progress by input bytes: each entry covers the size its files
// had when the batch started, and the readers say how far into them they are.
#include <cstdint>
#include <string>
#include <vector>

#include "batch/batch_ui.h"
#include "files/block_reader.h"

namespace carteloom {

class BatchProgress : public ReadProgress {
 public:
  // Shows 0 of the whole: sizes holds the input bytes of each entry in list order.
  BatchProgress(BatchUi& ui, std::vector<std::uint64_t> sizes);

  // The next entry is being worked on; offsets from here on are into it.
  void StartEntry();
  // Never back, never beyond the entry's share.
  void ReadTo(std::uint64_t offset) override;
  // The entry is done with, whatever became of it: its whole share counts.
  void FinishEntry();
  // Full, then empty again: the batch is over.
  void Finish();
  // Empty again: the batch ended before its list did.
  void Reset();

 private:
  void Show(std::uint64_t done);

  BatchUi& ui_;
  std::vector<std::uint64_t> sizes_;
  std::uint64_t total_ = 0;
  std::uint64_t entryStart_ = 0;
  std::uint64_t shown_ = 0;
  std::size_t entry_ = 0;
};

}  // namespace carteloom
