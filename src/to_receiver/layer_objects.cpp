#include "to_receiver/layer_objects.h"

namespace carteloom {
namespace {

// Large enough that handing a batch over costs nothing next to filling it.
constexpr std::size_t kBatchObjects = 4096;
constexpr std::size_t kBatchVertices = 1 << 16;

}  // namespace

LayerObjects::LayerObjects(MifScanner& scanner, MidReader& names)
    : scanner_(scanner), names_(names), ahead_([this](Batch& batch) { return Fill(batch); }) {}

bool LayerObjects::Fill(Batch& batch) {
  batch.entries.clear();
  batch.vertices.clear();
  batch.sectionEnds.clear();
  batch.names.clear();
  while (batch.entries.size() < kBatchObjects && batch.vertices.size() < kBatchVertices) {
    if (!scanner_.Next(object_)) return false;
    bool named = names_.NextRow(name_);  // every object owns a row, converted or not
    Entry entry{object_.kind, batch.vertices.size(), 0, batch.sectionEnds.size(), 0, named, batch.names.size(), 0};
    batch.vertices.insert(batch.vertices.end(), object_.vertices.begin(), object_.vertices.end());
    batch.sectionEnds.insert(batch.sectionEnds.end(), object_.sectionEnds.begin(), object_.sectionEnds.end());
    if (named) batch.names.append(name_);
    entry.vertexEnd = batch.vertices.size();
    entry.sectionEnd = batch.sectionEnds.size();
    entry.nameEnd = batch.names.size();
    batch.entries.push_back(entry);
  }
  return true;
}

bool LayerObjects::Next(LayerObject& object) {
  while (batch_ == nullptr || nextEntry_ == batch_->entries.size()) {
    batch_ = ahead_.Next();
    nextEntry_ = 0;
    if (batch_ == nullptr) return false;
  }
  const Entry& entry = batch_->entries[nextEntry_++];
  object.kind = entry.kind;
  object.vertices = std::span(batch_->vertices).subspan(entry.vertexBegin, entry.vertexEnd - entry.vertexBegin);
  object.sectionEnds =
      std::span(batch_->sectionEnds).subspan(entry.sectionBegin, entry.sectionEnd - entry.sectionBegin);
  object.named = entry.named;
  object.name = std::string_view(batch_->names).substr(entry.nameBegin, entry.nameEnd - entry.nameBegin);
  return true;
}

}  // namespace carteloom
