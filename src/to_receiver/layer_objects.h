#pragma once
// The objects of a MIF layer, each with its MID row, read ahead on a thread
// of their own: reading the next objects (numbers, names) overlaps writing
// the sentences of the last ones.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_runner.h"
#include "files/read_ahead.h"
#include "mif/mid_reader.h"
#include "mif/mif_scanner.h"
#include "receiver/writers.h"

namespace carteloom {

// A coordinate that a receiver file cannot hold (FirstOutOfRange): the layer
// is in another coordinate system than its header says, metres most often.
// The message names the object and the value.
class CoordinateError : public SourceNotConverted {
 public:
  CoordinateError(std::uint64_t object, const OutOfRange& wrong);
};

class LayerObjects {
 public:
  // Starts reading objects from scanner and a row from names for each.
  // Both must outlive this, and neither may be used by others meanwhile.
  // progress, when given, hears how many bytes of the MIF text and the MID
  // file lie behind each batch of objects as it is taken (on the caller's thread).
  LayerObjects(MifScanner& scanner, MidReader& names, ReadProgress* progress = nullptr);

  // The next object; false after the last. Throws what reading threw
  // (FileError from the MID file, CoordinateError), once the objects
  // before it are taken.
  bool Next(LayerObject& object);

 private:
  // Where an object ends in its batch; it begins where the one before ends.
  // Small, as every object's entry goes from one core's cache to the other's.
  struct Entry {
    std::uint32_t pointEnd, vertexEnd, sectionEnd;  // bounded by the batch's room
    bool continued;
    bool named;
    std::size_t nameEnd;  // a MID value may be of any length
  };
  // Objects stored flat, read straight into place, so that a batch reused is
  // filled without allocating and without a copy.
  struct Batch {
    std::vector<Entry> entries;
    MifObject objects;  // section ends index the vertices of their own object
    std::string names;
    std::uint64_t readTo = 0;  // bytes of MIF and MID behind the batch
  };
  bool Fill(Batch& batch);
  void Check(std::span<const Position> coordinates) const;

  MifScanner& scanner_;
  MidReader& names_;
  ReadProgress* progress_;
  // The reading thread's, on cache lines apart from what the caller's thread writes.
  alignas(64) std::string name_;  // the row of the object being read
  bool named_ = false;
  alignas(64) const Batch* batch_ = nullptr;  // the caller's
  std::size_t nextEntry_ = 0;
  ReadAhead<Batch> ahead_;  // last: its thread uses everything above
};

}  // namespace carteloom
