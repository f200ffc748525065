#include "to_receiver/layer_objects.h"

#include <cmath>

#include "formats/stop_request.h"

namespace carteloom {
namespace {

// Large enough that handing a batch over costs nothing next to filling it.
constexpr std::size_t kBatchObjects = 4096;
constexpr std::size_t kBatchVertices = 1 << 16;

}  // namespace

CoordinateError::CoordinateError(std::uint64_t object, bool longitude, double value)
    : std::runtime_error("coordinate out of range"), object_(object), longitude_(longitude), value_(value) {}

LayerObjects::LayerObjects(MifScanner& scanner, MidReader& names, ReadProgress* progress)
    : scanner_(scanner), names_(names), progress_(progress), ahead_([this](Batch& batch) { return Fill(batch); }) {}

void LayerObjects::Check(std::span<const MifVertex> coordinates) const {
  for (const MifVertex& v : coordinates) {
    if (!(std::fabs(v.x) <= 180)) throw CoordinateError(scanner_.ObjectNumber(), true, v.x);
    if (!(std::fabs(v.y) <= 90)) throw CoordinateError(scanner_.ObjectNumber(), false, v.y);
  }
}

bool LayerObjects::Fill(Batch& batch) {
  batch.entries.clear();
  batch.points.clear();
  batch.vertices.clear();
  batch.sectionEnds.clear();
  batch.names.clear();
  StopPoint();
  while (batch.entries.size() < kBatchObjects && batch.points.size() + batch.vertices.size() < kBatchVertices) {
    batch.readTo = scanner_.Consumed() + names_.Consumed();
    const std::size_t room = kBatchVertices - batch.points.size() - batch.vertices.size();
    if (!scanner_.Next(object_, room)) return false;
    Check(object_.points);
    Check(object_.vertices);
    if (!object_.continued) named_ = names_.NextRow(name_);  // every object owns a row, converted or not
    Entry entry{batch.points.size(), 0, batch.vertices.size(), 0, batch.sectionEnds.size(), 0,
                object_.continued,   named_, batch.names.size(), 0};
    batch.points.insert(batch.points.end(), object_.points.begin(), object_.points.end());
    batch.vertices.insert(batch.vertices.end(), object_.vertices.begin(), object_.vertices.end());
    batch.sectionEnds.insert(batch.sectionEnds.end(), object_.sectionEnds.begin(), object_.sectionEnds.end());
    if (named_) batch.names.append(name_);
    entry.pointEnd = batch.points.size();
    entry.vertexEnd = batch.vertices.size();
    entry.sectionEnd = batch.sectionEnds.size();
    entry.nameEnd = batch.names.size();
    batch.entries.push_back(entry);
  }
  batch.readTo = scanner_.Consumed() + names_.Consumed();
  return true;
}

bool LayerObjects::Next(LayerObject& object) {
  while (batch_ == nullptr || nextEntry_ == batch_->entries.size()) {
    batch_ = ahead_.Next();
    nextEntry_ = 0;
    if (batch_ == nullptr) return false;
    if (progress_ != nullptr) progress_->ReadTo(batch_->readTo);
  }
  const Entry& entry = batch_->entries[nextEntry_++];
  auto part = [](const auto& all, std::size_t begin, std::size_t end) {
    return std::span(all).subspan(begin, end - begin);
  };
  object.points = part(batch_->points, entry.pointBegin, entry.pointEnd);
  object.vertices = part(batch_->vertices, entry.vertexBegin, entry.vertexEnd);
  object.sectionEnds = part(batch_->sectionEnds, entry.sectionBegin, entry.sectionEnd);
  object.continued = entry.continued;
  object.named = entry.named;
  object.name = std::string_view(batch_->names).substr(entry.nameBegin, entry.nameEnd - entry.nameBegin);
  return true;
}

}  // namespace carteloom
