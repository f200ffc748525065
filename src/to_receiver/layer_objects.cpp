#include "to_receiver/layer_objects.h"

#include "files/number_text.h"
#include "files/stop_request.h"

namespace carteloom {
namespace {

// Large enough that handing a batch over costs nothing next to filling it.
constexpr std::size_t kBatchObjects = 4096;
// Points, vertices and section ends; a piece passes its room by two at most.
constexpr std::size_t kBatchVertices = 1 << 16;

}  // namespace

CoordinateError::CoordinateError(std::uint64_t object, const OutOfRange& wrong)
    : SourceNotConverted("第 " + IntegerText(static_cast<std::int64_t>(object)) + " 个对象的" +
                         (wrong.longitude ? "经度 " : "纬度 ") + PlainNumberText(wrong.value) + " 不在 " +
                         (wrong.longitude ? "-180 到 180" : "-90 到 90") + " 之间，该文件的坐标不是经纬度") {}

LayerObjects::LayerObjects(MifScanner& scanner, MidReader& names, ReadProgress* progress)
    : scanner_(scanner), names_(names), progress_(progress), ahead_([this](Batch& batch) { return Fill(batch); }) {}

void LayerObjects::Check(std::span<const Position> coordinates) const {
  if (const auto wrong = FirstOutOfRange(coordinates)) throw CoordinateError(scanner_.ObjectNumber(), *wrong);
}

bool LayerObjects::Fill(Batch& batch) {
  MifObject& objects = batch.objects;
  batch.entries.clear();
  objects.points.clear();
  objects.vertices.clear();
  objects.sectionEnds.clear();
  batch.names.clear();
  StopPoint();
  for (;;) {
    const std::size_t pointsBefore = objects.points.size();
    const std::size_t verticesBefore = objects.vertices.size();
    const std::size_t sectionsBefore = objects.sectionEnds.size();
    const std::size_t held = pointsBefore + verticesBefore + sectionsBefore;
    if (batch.entries.size() == kBatchObjects || held >= kBatchVertices) break;
    batch.readTo = scanner_.Consumed() + names_.Consumed();
    const std::size_t room = kBatchVertices - held;
    if (!scanner_.AppendNext(objects, room)) return false;
    // Section ends as the writers take them: into the object's own vertices.
    for (std::size_t& end : std::span(objects.sectionEnds).subspan(sectionsBefore)) end -= verticesBefore;
    Check(std::span(objects.points).subspan(pointsBefore));
    Check(std::span(objects.vertices).subspan(verticesBefore));
    if (!objects.continued) named_ = names_.NextRow(name_);  // every object owns a row, converted or not
    if (named_) batch.names.append(name_);
    batch.entries.push_back({static_cast<std::uint32_t>(objects.points.size()),
                             static_cast<std::uint32_t>(objects.vertices.size()),
                             static_cast<std::uint32_t>(objects.sectionEnds.size()), objects.continued, named_,
                             batch.names.size()});
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
  const Entry& entry = batch_->entries[nextEntry_];
  const Entry before = nextEntry_ > 0 ? batch_->entries[nextEntry_ - 1] : Entry{};
  ++nextEntry_;
  auto part = [](const auto& all, std::size_t begin, std::size_t end) {
    return std::span(all).subspan(begin, end - begin);
  };
  const MifObject& objects = batch_->objects;
  object.points = part(objects.points, before.pointEnd, entry.pointEnd);
  object.vertices = part(objects.vertices, before.vertexEnd, entry.vertexEnd);
  object.sectionEnds = part(objects.sectionEnds, before.sectionEnd, entry.sectionEnd);
  object.continued = entry.continued;
  object.named = entry.named;
  object.name = std::string_view(batch_->names).substr(before.nameEnd, entry.nameEnd - before.nameEnd);
  return true;
}

}  // namespace carteloom
