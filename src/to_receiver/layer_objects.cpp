#include "to_receiver/layer_objects.h"

namespace carteloom {
namespace {

// Large enough that handing a batch over costs nothing next to filling it.
constexpr std::size_t kBatchObjects = 4096;
constexpr std::size_t kBatchVertices = 1 << 16;

}  // namespace

void LayerObjects::Batch::Clear() {
  entries.clear();
  vertices.clear();
  sectionEnds.clear();
  names.clear();
}

bool LayerObjects::Batch::Full() const {
  return entries.size() >= kBatchObjects || vertices.size() >= kBatchVertices;
}

LayerObjects::LayerObjects(MifScanner& scanner, MidReader& names)
    : scanner_(scanner), names_(names), reader_([this] { Read(); }) {}

LayerObjects::~LayerObjects() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  reader_.join();
}

bool LayerObjects::WaitToFill(int b) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stop_ || (inUse_ != b && ready_ != b); });
  return !stop_;
}

void LayerObjects::Publish(int b) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stop_ || ready_ == -1; });
  ready_ = b;
  changed_.notify_all();
}

bool LayerObjects::FillBatch(Batch& batch, MifObject& object, std::string& name) {
  batch.Clear();
  while (!batch.Full()) {
    if (!scanner_.Next(object)) return false;
    bool named = names_.NextRow(name);  // every object owns a row, converted or not
    Entry entry{object.kind, batch.vertices.size(), 0, batch.sectionEnds.size(), 0, named, batch.names.size(), 0};
    batch.vertices.insert(batch.vertices.end(), object.vertices.begin(), object.vertices.end());
    batch.sectionEnds.insert(batch.sectionEnds.end(), object.sectionEnds.begin(), object.sectionEnds.end());
    if (named) batch.names.append(name);
    entry.vertexEnd = batch.vertices.size();
    entry.sectionEnd = batch.sectionEnds.size();
    entry.nameEnd = batch.names.size();
    batch.entries.push_back(entry);
  }
  return true;
}

// The reader's thread. What reading throws ends the reading; Next() throws
// it again once the objects read before it have been taken.
void LayerObjects::Read() {
  MifObject object;
  std::string name;
  for (int b = 0;; b ^= 1) {
    if (!WaitToFill(b)) return;
    bool more = false;
    std::exception_ptr error;
    try {
      more = FillBatch(batches_[b], object, name);
    } catch (...) {
      error = std::current_exception();
    }
    if (!batches_[b].entries.empty()) Publish(b);
    if (!more) {
      std::lock_guard lock(mutex_);
      error_ = error;
      finished_ = true;
      changed_.notify_all();
      return;
    }
  }
}

bool LayerObjects::Next(LayerObject& object) {
  if (inUse_ < 0 || nextEntry_ == batches_[inUse_].entries.size()) {
    std::unique_lock lock(mutex_);
    inUse_ = -1;
    changed_.notify_all();
    changed_.wait(lock, [&] { return ready_ != -1 || finished_; });
    if (ready_ == -1) {
      if (error_) std::rethrow_exception(error_);
      return false;
    }
    inUse_ = ready_;
    ready_ = -1;
    nextEntry_ = 0;
    changed_.notify_all();
  }
  const Batch& batch = batches_[inUse_];
  const Entry& entry = batch.entries[nextEntry_++];
  object.kind = entry.kind;
  object.vertices = std::span(batch.vertices).subspan(entry.vertexBegin, entry.vertexEnd - entry.vertexBegin);
  object.sectionEnds =
      std::span(batch.sectionEnds).subspan(entry.sectionBegin, entry.sectionEnd - entry.sectionBegin);
  object.named = entry.named;
  object.name = std::string_view(batch.names).substr(entry.nameBegin, entry.nameEnd - entry.nameBegin);
  return true;
}

}  // namespace carteloom
