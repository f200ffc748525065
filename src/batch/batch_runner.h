#pragma once
// The loop both batches run: the source list worked off from the top, each
// entry converted by the direction's converter, told about, and removed once
// done with; stop requests between and within entries; the summary at the
// end, or the entries not reached when an entry ends the batch early.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "batch/batch_ui.h"
#include "files/block_reader.h"

namespace carteloom {

// What became of an entry.
enum class EntryOutcome {
  Converted,  // outputs in place: the entry leaves the list
  Refused,    // a file of no kind this direction converts: the entry leaves the list
  Left,       // not converted: the entry stays, the batch goes on
  EndBatch,   // not converted: the entry and all after it stay, no summary
};

// A source that cannot be converted as it is, where the next one may well
// be: its entry stays and the batch goes on, in either direction.
class SourceNotConverted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What one direction plugs into the loop.
class BatchDirection {
 public:
  virtual ~BatchDirection() = default;
  // The bytes read for a source (with the files read beside it), for the progress bar.
  virtual std::uint64_t InputBytes(const std::string& source) const = 0;
  // Converts report.source, setting report.outputs, or telling why not
  // (TellAboutEntry); progress hears how far the reading is. What it throws
  // the loop tells as the reason the entry was not converted.
  virtual EntryOutcome Convert(BatchUi& ui, EntryReport& report, ReadProgress& progress) = 0;
  // What becomes of an entry whose conversion threw: a file that could not
  // be read or written, or the like.
  virtual EntryOutcome AfterFailure() const = 0;
  // The closing message, given how many entries were converted.
  virtual std::string Summary(std::size_t converted) const = 0;
};

BatchResult RunBatch(BatchUi& ui, BatchDirection& direction);

}  // namespace carteloom
