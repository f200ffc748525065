#include "batch/batch_progress.h"

#include <algorithm>
#include <numeric>

namespace carteloom {

BatchProgress::BatchProgress(BatchUi& ui, std::vector<std::uint64_t> sizes)
    : ui_(ui), sizes_(std::move(sizes)), total_(std::accumulate(sizes_.begin(), sizes_.end(), std::uint64_t{0})) {
  ui_.ShowProgress(0, total_);
}

void BatchProgress::StartEntry() { entryStart_ = shown_; }

void BatchProgress::ReadTo(std::uint64_t offset) {
  const std::uint64_t share = entry_ < sizes_.size() ? sizes_[entry_] : 0;
  const std::uint64_t done = entryStart_ + std::min(offset, share);
  if (done > shown_) Show(done);
}

void BatchProgress::FinishEntry() {
  if (entry_ < sizes_.size()) Show(std::max(shown_, entryStart_ + sizes_[entry_]));
  ++entry_;
  entryStart_ = shown_;
}

void BatchProgress::Finish() {
  Show(total_);
  Reset();
}

void BatchProgress::Reset() { ui_.ShowProgress(0, total_); }

void BatchProgress::Show(std::uint64_t done) {
  shown_ = std::min(done, total_);
  ui_.ShowProgress(shown_, total_);
}

}  // namespace carteloom
