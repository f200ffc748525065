#include "gdal_driver/read_layers.h"

#include "files/paths.h"
#include "gdal_driver/gdal_text.h"
#include "gdal_driver/virtual_files.h"
#include "receiver/route_file.h"

namespace carteloom::gdal {
namespace {

using namespace waypoint_field;
constexpr LayerField kWaypointFields[] = {{"ele", kAltitude, OFTReal},
                                         {"name", kName, OFTString},
                                         {"cmt", kComment, OFTString},
                                         {"sym", kLast, OFTString, true}};
// A fix carries its position and altitude where a waypoint does; where a
// waypoint has its name, the logs seen hold the time of the fix (hhmmss),
// which a date (ddmmyy) may follow, as in NMEA.
constexpr int kFixTime = kName, kFixDate = kName + 1;
constexpr LayerField kFixFields[] = {{"track_fid", 0, OFTInteger},
                                    {"track_seg_id", 0, OFTInteger},
                                    {"track_seg_point_id", 0, OFTInteger},
                                    {"track_name", 0, OFTString},
                                    {"ele", kAltitude, OFTReal},
                                    {"time", 0, OFTDateTime}};
constexpr LayerField kTrackFields[] = {{"name", 0, OFTString}};
constexpr LayerField kRouteFields[] = {{"name", 0, OFTString}};
// route_name and track_name name the <rte> and <trk> that GDAL's GPX writer makes of the points.
constexpr LayerField kRoutePointFields[] = {{"route_fid", 0, OFTInteger},
                                           {"route_point_id", 0, OFTInteger},
                                           {"route_name", 0, OFTString},
                                           {"ele", kAltitude, OFTReal},
                                           {"name", kName, OFTString},
                                           {"cmt", kComment, OFTString},
                                           {"sym", kLast, OFTString, true}};

void WarnOfDamage(const std::string& path, const ReceiverRecord& record, int lastField) {
  const bool skipped = record.kind == RecordKind::Waypoint && !record.position;
  WarnAboutLine(path, record.line,
                "the record ends after " + std::to_string(record.fieldCount) + " of its " + std::to_string(lastField) +
                    " fields; " + (skipped ? "skipped" : "read as far as it goes"));
}

// Two decimal digits at text[at], or -1.
int TwoDigits(std::string_view text, std::size_t at) {
  if (text.size() < at + 2 || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9') return -1;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The UTC time of a fix whose record holds its time (hhmmss) and date (ddmmyy).
void SetFixTime(OGRFeature& feature, int field, std::string_view time, std::string_view date) {
  if (date.size() != 6 || (time.size() != 6 && (time.size() < 8 || time[6] != '.'))) return;
  const int hour = TwoDigits(time, 0), minute = TwoDigits(time, 2), second = TwoDigits(time, 4);
  const int day = TwoDigits(date, 0), month = TwoDigits(date, 2), year = TwoDigits(date, 4);
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || day < 1 || day > 31 ||
      month < 1 || month > 12 || year < 0)
    return;
  feature.SetField(field, year < 80 ? 2000 + year : 1900 + year, month, day, hour, minute,
                   static_cast<float>(second + (time.size() > 6 ? CPLAtof(std::string(time.substr(6)).c_str()) : 0)),
                   100);
}

// A line through the positions at the heights; one position is drawn as a
// line to itself, as in the MIF conversion, so that every GIS takes it.
OGRLineString* LineThrough(std::span<const Position> positions, std::span<const double> heights) {
  auto* line = new OGRLineString();
  for (std::size_t i = 0; i < positions.size(); ++i)
    line->addPoint(positions[i].longitude, positions[i].latitude, heights[i]);
  if (positions.size() == 1) line->addPoint(positions[0].longitude, positions[0].latitude, heights[0]);
  return line;
}

// Route files are read whole: the waypoints as they come, the routes at the end.
class RoutePoints : public RouteFileListener {
 public:
  RoutePoints(const std::string& path, StoredLayer& layer) : path_(path), layer_(layer) {}
  void Waypoint(const ReceiverRecord& record) override {
    OGRFeature* feature = layer_.NewFeature(&record);
    feature->SetGeometryDirectly(new OGRPoint(record.position->longitude, record.position->latitude));
    heights_.push_back(LeadingNumber(record.Field(kAltitude)));
    points_.push_back(feature);
    layer_.Add(feature);
  }
  void Damaged(const ReceiverRecord& record) override { WarnOfDamage(path_, record, route_field::kLast); }
  // The routes drawn through the waypoints: route_fid is the feature id of
  // the route, route_point_id counts from 0 along it.
  void NumberRoutes(const RouteFile& file) {
    for (std::size_t r = 0; r < file.routes.size(); ++r)
      for (std::size_t q = file.routes[r].first; q < file.routes[r].last; ++q) {
        points_[q]->SetField("route_fid", static_cast<int>(r + 1));
        points_[q]->SetField("route_point_id", static_cast<int>(q - file.routes[r].first));
        points_[q]->SetField("route_name", Utf8OfGbk(file.routes[r].name).c_str());
      }
  }
  const std::vector<double>& Heights() const { return heights_; }

 private:
  const std::string& path_;
  StoredLayer& layer_;
  std::vector<OGRFeature*> points_;  // owned by the layer
  std::vector<double> heights_;
};

void AddRouteLayers(const std::string& path, bool lines, std::vector<std::unique_ptr<OGRLayer>>& layers) {
  auto points = std::make_unique<StoredLayer>("route_points", wkbPoint, kRoutePointFields);
  RoutePoints listener(path, *points);
  FieldReader source = FieldsThroughGdal(path);
  const RouteFile file = ReadRouteFile(source, &listener);
  listener.NumberRoutes(file);
  if (lines) {
    auto routes = std::make_unique<StoredLayer>("routes", wkbLineString25D, kRouteFields);
    for (const Route& route : file.routes) {
      OGRFeature* feature = routes->NewFeature();
      feature->SetField("name", Utf8OfGbk(route.name).c_str());
      const std::size_t count = route.last - route.first;
      if (count > 0)
        feature->SetGeometryDirectly(LineThrough(std::span(file.waypoints).subspan(route.first, count),
                                                 std::span(listener.Heights()).subspan(route.first, count)));
      routes->Add(feature);
    }
    layers.push_back(std::move(routes));
  }
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
  return EQUAL(capability, OLCStringsAsUTF8) || EQUAL(capability, OLCZGeometries);
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
    if (column.type == OFTString && !text.empty())
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
      source_.emplace(FieldsThroughGdal(path_));
      records_.emplace(*source_, lastField_, false, kAllFields);
    }
    while (records_->Next(record_)) {
      warnings_->Check(record_);
      if (!record_.position) continue;
      OGRFeature* feature = NewFeature(&record_);
      feature->SetGeometryDirectly(new OGRPoint(record_.position->longitude, record_.position->latitude));
      if (lastField_ == kTrackLastField) {
        feature->SetField(0, 1);
        feature->SetField(1, 0);
        feature->SetField(2, static_cast<int>(feature->GetFID() - 1));
        feature->SetField(3, BaseName(path_).c_str());
        SetFixTime(*feature, 5, record_.Field(kFixTime), record_.Field(kFixDate));
      }
      return feature;
    }
  } catch (const std::exception& error) {
    ReportError(CE_Failure, CPLE_FileIO, error);
  }
  return nullptr;
}

TrackLineLayer::TrackLineLayer(std::string path, std::shared_ptr<DamageWarnings> warnings)
    : ReceiverLayer("tracks", wkbMultiLineString25D, kTrackFields),
      path_(std::move(path)),
      warnings_(std::move(warnings)) {}

OGRFeature* TrackLineLayer::GetNextRawFeature() {
  if (done_) return nullptr;
  done_ = true;
  std::vector<Position> fixes;
  std::vector<double> heights;
  try {
    FieldReader source = FieldsThroughGdal(path_);
    RecordReader records(source, kTrackLastField, false, 1u << 1 | 1u << kAltitude);  // field 1 tells the end sentence
    ReceiverRecord record;
    while (records.Next(record)) {
      warnings_->Check(record);
      if (!record.position) continue;
      fixes.push_back(*record.position);
      heights.push_back(LeadingNumber(record.Field(kAltitude)));
    }
  } catch (const std::exception& error) {
    ReportError(CE_Failure, CPLE_FileIO, error);
    return nullptr;
  }
  if (fixes.empty()) return nullptr;
  nextId_ = 1;
  OGRFeature* feature = NewFeature();
  feature->SetField("name", BaseName(path_).c_str());  // GDAL's paths are UTF-8 already
  auto* track = new OGRMultiLineString();
  track->addGeometryDirectly(LineThrough(fixes, heights));
  feature->SetGeometryDirectly(track);
  return feature;
}

std::vector<std::unique_ptr<OGRLayer>> ReceiverLayers(const std::string& path, ReceiverFileKind kind, bool lines) {
  std::vector<std::unique_ptr<OGRLayer>> layers;
  if (kind == ReceiverFileKind::Waypoints) {
    layers.push_back(std::make_unique<RecordPointLayer>("waypoints", path, kLast, kWaypointFields,
                                                        std::make_shared<DamageWarnings>(path, kLast)));
  } else if (kind == ReceiverFileKind::TrackLog) {
    auto warnings = std::make_shared<DamageWarnings>(path, kTrackLastField);
    if (lines) layers.push_back(std::make_unique<TrackLineLayer>(path, warnings));
    layers.push_back(std::make_unique<RecordPointLayer>("track_points", path, kTrackLastField, kFixFields, warnings));
  } else {
    AddRouteLayers(path, lines, layers);
  }
  return layers;
}

}  // namespace carteloom::gdal
