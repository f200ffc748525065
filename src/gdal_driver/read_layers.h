#pragma once
// The layers of a receiver file opened for reading, each in WGS 84 with its
// names in UTF-8, named and fielded as GDAL's GPX driver names its layers,
// so that ogr2ogr writes them into GPX as they are:
//   .upt: "waypoints" (points);
//   .log: "track_points" (the fixes), and with LINES=YES first "tracks" (one
//         line through every fix);
//   .rte: "route_points" (the waypoints), and with LINES=YES first "routes"
//         (lines drawn as the MIF conversion draws them).
// GDAL's GPX writer makes a <trk> or <rte> of a line layer and of a point
// layer alike, so by default only the points, which carry every field, are
// offered. The records come through the core's RecordReader, as the
// converters read them.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "gdal_driver/gdal_signatures.h"
#include "receiver/identify.h"
#include "receiver/record_reader.h"

namespace carteloom::gdal {

// One attribute of a layer and the record field it comes from (0: set by the layer).
struct LayerField {
  const char* name;
  int recordField;
  OGRFieldType type;  // OFTString (decoded from GBK), OFTReal, OFTInteger or OFTDateTime
  bool checksummed = false;  // the record's last field, whose "*" and checksum are no part of the value
};

class ReceiverLayer : public OGRLayer, public OGRGetNextFeatureThroughRaw<ReceiverLayer> {
 public:
  ReceiverLayer(const char* name, OGRwkbGeometryType type, std::span<const LayerField> fields);
  ~ReceiverLayer() override;
  using OGRLayer::GetLayerDefn;
  CARTELOOM_CONST_SINCE_GDAL_3_12 OGRFeatureDefn* GetLayerDefn() CARTELOOM_CONST_SINCE_GDAL_3_12 override { return defn_; }
  int TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 override;
  virtual OGRFeature* GetNextRawFeature() = 0;
  DEFINE_GET_NEXT_FEATURE_THROUGH_RAW(ReceiverLayer)

  // A feature of this layer with the next id, its attributes from record.
  OGRFeature* NewFeature(const ReceiverRecord* record = nullptr);

 protected:
  OGRFeatureDefn* defn_;
  OGRSpatialReference* srs_;
  std::span<const LayerField> fields_;
  GIntBig nextId_ = 1;
};

// Warns of the damaged records of a file once, whichever of its layers is read
// first and however often: a warning names the file and the line.
class DamageWarnings {
 public:
  DamageWarnings(std::string path, int lastField) : path_(std::move(path)), lastField_(lastField) {}
  void Check(const ReceiverRecord& record);

 private:
  std::string path_;
  int lastField_;
  std::uint64_t warnedThrough_ = 0;  // the last line warned of
};

// The points of the records of a waypoint file or a track log, read as the layer is read.
class RecordPointLayer final : public ReceiverLayer {
 public:
  RecordPointLayer(const char* name, std::string path, int lastField, std::span<const LayerField> fields,
                   std::shared_ptr<DamageWarnings> warnings);
  void ResetReading() override;
  OGRFeature* GetNextRawFeature() override;

 private:
  std::string path_;
  int lastField_;
  std::optional<FieldReader> source_;
  std::optional<RecordReader> records_;
  ReceiverRecord record_;
  std::shared_ptr<DamageWarnings> warnings_;
};

// The track of a log: one line through every fix, named after the file.
class TrackLineLayer final : public ReceiverLayer {
 public:
  TrackLineLayer(std::string path, std::shared_ptr<DamageWarnings> warnings);
  void ResetReading() override { done_ = false; }
  OGRFeature* GetNextRawFeature() override;

 private:
  std::string path_;
  std::shared_ptr<DamageWarnings> warnings_;
  bool done_ = false;
};

// Features made once, at open (route files are read whole).
class StoredLayer final : public ReceiverLayer {
 public:
  using ReceiverLayer::ReceiverLayer;
  void ResetReading() override { next_ = 0; }
  OGRFeature* GetNextRawFeature() override {
    return next_ < features_.size() ? features_[next_++]->Clone() : nullptr;
  }
  void Add(OGRFeature* feature) { features_.emplace_back(feature); }

 private:
  std::vector<std::unique_ptr<OGRFeature>> features_;
  std::size_t next_ = 0;
};

// The layers of the receiver file at path, by its kind; the line layers too
// when lines is set. Throws FileError when it cannot be read.
std::vector<std::unique_ptr<OGRLayer>> ReceiverLayers(const std::string& path, ReceiverFileKind kind, bool lines);

}  // namespace carteloom::gdal
