#include "gdal_driver/read_layers.h"

#include "files/paths.h"
#include "gdal_driver/gdal_text.h"
#include "receiver/route_file.h"

namespace carteloom::gdal {
namespace {

using namespace waypoint_field;
constexpr LayerField kWaypointFields[] = {{"name", kName, OFTString},
                                         {"altitude", kAltitude, OFTReal},
                                         {"altitude_unit", kAltitudeUnit, OFTString},
                                         {"comment", kComment, OFTString},
                                         {"symbol", kLast, OFTString, true}};
// A fix carries its position and altitude where a waypoint does; where a
// waypoint has its name, the logs seen hold the time of the fix (hhmmss).
// The fields after it are not interpreted.
constexpr LayerField kFixFields[] = {{"altitude", kAltitude, OFTReal},
                                    {"altitude_unit", kAltitudeUnit, OFTString},
                                    {"time", kName, OFTString},
                                    {"field_9", 9, OFTString},
                                    {"field_10", 10, OFTString},
                                    {"field_11", kTrackLastField, OFTString, true}};
constexpr LayerField kTrackFields[] = {{"name", 0, OFTString}, {"fixes", 0, OFTInteger64}};
constexpr LayerField kRouteFields[] = {{"name", 0, OFTString}, {"waypoints", 0, OFTInteger64}};
constexpr LayerField kRoutePointFields[] = {{"name", kName, OFTString},
                                           {"altitude", kAltitude, OFTReal},
                                           {"altitude_unit", kAltitudeUnit, OFTString},
                                           {"comment", kComment, OFTString},
                                           {"symbol", kLast, OFTString, true},
                                           {"route", 0, OFTString}};

void WarnOfDamage(const std::string& path, const ReceiverRecord& record, int lastField) {
  const bool skipped = record.kind == RecordKind::Waypoint && !record.position;
  WarnAboutLine(path, record.line,
                "the record ends after " + std::to_string(record.fieldCount) + " of its " + std::to_string(lastField) +
                    " fields; " + (skipped ? "skipped" : "read as far as it goes"));
}

// A line through the positions; one position is drawn as a line to itself,
// as in the MIF conversion, so that every GIS takes it.
OGRLineString* LineThrough(std::span<const Position> positions) {
  auto* line = new OGRLineString();
  for (const Position& p : positions) line->addPoint(p.longitude, p.latitude);
  if (positions.size() == 1) line->addPoint(positions[0].longitude, positions[0].latitude);
  return line;
}

// Route files are read whole: the waypoints as they come, the routes at the end.
class RoutePoints : public RouteFileListener {
 public:
  RoutePoints(const std::string& path, StoredLayer& layer) : path_(path), layer_(layer) {}
  void Waypoint(const ReceiverRecord& record) override {
    OGRFeature* feature = layer_.NewFeature(&record);
    feature->SetGeometryDirectly(new OGRPoint(record.position->longitude, record.position->latitude));
    points_.push_back(feature);
    layer_.Add(feature);
  }
  void Damaged(const ReceiverRecord& record) override { WarnOfDamage(path_, record, route_field::kLast); }
  // The routes drawn through the waypoints, as names of the points.
  void NameRoutes(const RouteFile& file) {
    const int field = layer_.GetLayerDefn()->GetFieldIndex("route");
    for (const Route& route : file.routes)
      for (std::size_t q = route.first; q < route.last; ++q) points_[q]->SetField(field, Utf8OfGbk(route.name).c_str());
  }

 private:
  const std::string& path_;
  StoredLayer& layer_;
  std::vector<OGRFeature*> points_;  // owned by the layer
};

void AddRouteLayers(const std::string& path, std::vector<std::unique_ptr<OGRLayer>>& layers) {
  auto routes = std::make_unique<StoredLayer>("routes", wkbLineString, kRouteFields);
  auto points = std::make_unique<StoredLayer>("route_points", wkbPoint, kRoutePointFields);
  RoutePoints listener(path, *points);
  FieldReader source(path);
  const RouteFile file = ReadRouteFile(source, &listener);
  listener.NameRoutes(file);
  for (const Route& route : file.routes) {
    OGRFeature* feature = routes->NewFeature();
    feature->SetField("name", Utf8OfGbk(route.name).c_str());
    feature->SetField("waypoints", static_cast<GIntBig>(route.last - route.first));
    if (route.last > route.first)
      feature->SetGeometryDirectly(
          LineThrough(std::span(file.waypoints).subspan(route.first, route.last - route.first)));
    routes->Add(feature);
  }
  layers.push_back(std::move(routes));
  layers.push_back(std::move(points));
}

}  // namespace

ReceiverLayer::ReceiverLayer(const char* name, OGRwkbGeometryType type, std::span<const LayerField> fields)
    : defn_(new OGRFeatureDefn(name)), srs_(NewWgs84()), fields_(fields) {
  SetDescription(name);
  defn_->Reference();
  defn_->SetGeomType(type);
  defn_->GetGeomFieldDefn(0)->SetSpatialRef(srs_);
  for (const LayerField& column : fields) {
    OGRFieldDefn field(column.name, column.type);
    defn_->AddFieldDefn(&field);
  }
}

ReceiverLayer::~ReceiverLayer() {
  defn_->Release();
  srs_->Release();
}

int ReceiverLayer::TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 {
  return EQUAL(capability, OLCStringsAsUTF8);
}

OGRFeature* ReceiverLayer::NewFeature(const ReceiverRecord* record) {
  auto* feature = new OGRFeature(defn_);
  feature->SetFID(nextId_++);
  if (record == nullptr) return feature;
  for (int i = 0; i < static_cast<int>(fields_.size()); ++i) {
    const LayerField& column = fields_[static_cast<std::size_t>(i)];
    if (column.recordField == 0 || column.recordField > record->fieldCount) continue;
    std::string_view text = record->Field(column.recordField);
    if (column.checksummed) text = WithoutChecksum(text);
    if (column.type == OFTString)
      feature->SetField(i, Utf8OfGbk(text).c_str());
    else if (!text.empty())
      feature->SetField(i, LeadingNumber(text));
  }
  return feature;
}

void DamageWarnings::Check(const ReceiverRecord& record) {
  if (!IsDamaged(record, lastField_) || record.line <= warnedThrough_) return;
  WarnOfDamage(path_, record, lastField_);
  warnedThrough_ = record.line;
}

RecordPointLayer::RecordPointLayer(const char* name, std::string path, int lastField,
                                   std::span<const LayerField> fields, std::shared_ptr<DamageWarnings> warnings)
    : ReceiverLayer(name, wkbPoint, fields),
      path_(std::move(path)),
      lastField_(lastField),
      warnings_(std::move(warnings)) {}

void RecordPointLayer::ResetReading() {
  records_.reset();
  source_.reset();
  nextId_ = 1;
}

OGRFeature* RecordPointLayer::GetNextRawFeature() {
  try {
    if (!records_) {
      source_.emplace(path_);
      records_.emplace(*source_, lastField_, false, kAllFields);
    }
    while (records_->Next(record_)) {
      warnings_->Check(record_);
      if (!record_.position) continue;
      OGRFeature* feature = NewFeature(&record_);
      feature->SetGeometryDirectly(new OGRPoint(record_.position->longitude, record_.position->latitude));
      return feature;
    }
  } catch (const std::exception& error) {
    CPLError(CE_Failure, CPLE_FileIO, "%s", error.what());
  }
  return nullptr;
}

TrackLineLayer::TrackLineLayer(std::string path, std::shared_ptr<DamageWarnings> warnings)
    : ReceiverLayer("track", wkbLineString, kTrackFields), path_(std::move(path)), warnings_(std::move(warnings)) {}

OGRFeature* TrackLineLayer::GetNextRawFeature() {
  if (done_) return nullptr;
  done_ = true;
  std::vector<Position> fixes;
  try {
    FieldReader source(path_);
    RecordReader records(source, kTrackLastField, false, 1u << 1);  // field 1 tells the end sentence
    ReceiverRecord record;
    while (records.Next(record)) {
      warnings_->Check(record);
      if (record.position) fixes.push_back(*record.position);
    }
  } catch (const std::exception& error) {
    CPLError(CE_Failure, CPLE_FileIO, "%s", error.what());
    return nullptr;
  }
  if (fixes.empty()) return nullptr;
  nextId_ = 1;
  OGRFeature* feature = NewFeature();
  feature->SetField("name", BaseName(path_).c_str());  // GDAL's paths are UTF-8 already
  feature->SetField("fixes", static_cast<GIntBig>(fixes.size()));
  feature->SetGeometryDirectly(LineThrough(fixes));
  return feature;
}

std::vector<std::unique_ptr<OGRLayer>> ReceiverLayers(const std::string& path, ReceiverFileKind kind) {
  std::vector<std::unique_ptr<OGRLayer>> layers;
  if (kind == ReceiverFileKind::Waypoints) {
    layers.push_back(std::make_unique<RecordPointLayer>("waypoints", path, kLast, kWaypointFields,
                                                        std::make_shared<DamageWarnings>(path, kLast)));
  } else if (kind == ReceiverFileKind::TrackLog) {
    auto warnings = std::make_shared<DamageWarnings>(path, kTrackLastField);
    layers.push_back(std::make_unique<TrackLineLayer>(path, warnings));
    layers.push_back(std::make_unique<RecordPointLayer>("track_points", path, kTrackLastField, kFixFields, warnings));
  } else {
    AddRouteLayers(path, layers);
  }
  return layers;
}

}  // namespace carteloom::gdal
