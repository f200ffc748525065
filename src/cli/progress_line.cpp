#include "cli/progress_line.h"

#include <ostream>

#include "files/number_text.h"

namespace carteloom {
namespace {
constexpr int kTicks = 40;
}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool shown, bool afterASecond)
    : err_(err), shown_(shown), afterASecond_(afterASecond) {}

void ProgressLine::Show(std::uint64_t done, std::uint64_t total) {
  if (!shown_ || ended_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!started_) started_ = now;
  if (total == 0) return;
  if (done == 0 && ticks_ > 0) {
    // The summary or an early end follows.
    Break();
    ended_ = true;
    return;
  }
  if (afterASecond_ && now - *started_ < std::chrono::seconds(1)) return;
  const int ticks = done >= total ? kTicks : static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kTicks);
  if (ticks <= ticks_) return;
  while (ticks_ < ticks) {
    ++ticks_;
    if (ticks_ % 4 != 0) {
      err_ << '.';
    } else {
      err_ << IntegerText(ticks_ / 4 * 10);
    }
  }
  open_ = true;
  if (ticks_ == kTicks) {
    err_ << " - done.\n";
    open_ = false;
  }
  err_ << std::flush;
}

void ProgressLine::Break() {
  if (!open_) return;
  err_ << '\n' << std::flush;
  open_ = false;
}

}  // namespace carteloom
