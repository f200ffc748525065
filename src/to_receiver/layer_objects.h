#pragma once
// The objects of a MIF layer, each with its MID row, read ahead on a thread
// of their own: reading the next objects (numbers, names) overlaps writing
// the sentences of the last ones.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "formats/mid_reader.h"
#include "formats/mif_reader.h"

namespace carteloom {

// One object as Next() hands it out; its views hold until the next call.
struct LayerObject {
  MifObjectKind kind = MifObjectKind::Other;
  std::span<const MifVertex> vertices;
  std::span<const std::size_t> sectionEnds;  // into vertices, as in MifObject
  bool named = false;                        // false once the MID rows have run out
  std::string_view name;
};

class LayerObjects {
 public:
  // Starts reading objects from scanner and a row from names for each.
  // Both must outlive this, and neither may be used by others meanwhile.
  LayerObjects(MifScanner& scanner, MidReader& names);
  // Stops the reading and waits for it, also when the caller stopped early.
  ~LayerObjects();
  LayerObjects(const LayerObjects&) = delete;
  LayerObjects& operator=(const LayerObjects&) = delete;

  // The next object; false after the last. Throws what reading threw
  // (FileError from the MID file), once the objects before it are taken.
  bool Next(LayerObject& object);

 private:
  struct Entry {
    MifObjectKind kind;
    std::size_t vertexBegin, vertexEnd;
    std::size_t sectionBegin, sectionEnd;
    bool named;
    std::size_t nameBegin, nameEnd;
  };
  // Objects stored flat, so that a batch reused is filled without allocating.
  struct Batch {
    std::vector<Entry> entries;
    std::vector<MifVertex> vertices;
    std::vector<std::size_t> sectionEnds;
    std::string names;
    void Clear();
    bool Full() const;
  };

  void Read();
  bool FillBatch(Batch& batch, MifObject& object, std::string& name);
  // Waits until the reader may fill batch b; false when told to stop.
  bool WaitToFill(int b);
  void Publish(int b);

  MifScanner& scanner_;
  MidReader& names_;
  Batch batches_[2];

  std::mutex mutex_;
  std::condition_variable changed_;
  int ready_ = -1;   // a filled batch waiting to be taken
  int inUse_ = -1;   // the batch Next() hands out from
  bool finished_ = false;
  bool stop_ = false;
  std::exception_ptr error_;

  std::size_t nextEntry_ = 0;
  std::thread reader_;  // last: it starts once everything above is set up
};

}  // namespace carteloom
