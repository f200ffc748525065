#pragma once
// The progress of a batch on stderr, by the share of its input bytes done,
// in ogr2ogr's manner: "0...10...20...30...40...50...60...70...80...90...100 - done."
// It only ever adds to the line, so it reads the same in a log file.
#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <optional>

namespace carteloom {

class ProgressLine {
 public:
  // shown: whether to show it at all; afterASecond: only once the batch has
  // run for a second, so that short work shows none.
  ProgressLine(std::ostream& err, bool shown, bool afterASecond);

  void Show(std::uint64_t done, std::uint64_t total);
  // Ends a line left open, so that the next message starts a line of its own.
  void Break();

 private:
  std::ostream& err_;
  bool shown_;
  bool afterASecond_;
  std::optional<std::chrono::steady_clock::time_point> started_;
  int ticks_ = -1;      // ticks shown: 40 make the line, one for each 2.5 %
  bool open_ = false;   // the line has text and no line end yet
  bool ended_ = false;  // back to 0 after it moved: the batch is over
};

}  // namespace carteloom
