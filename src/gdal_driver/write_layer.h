#pragma once
// Layers written to receiver files with the core's writers: points into
// waypoint files (BASE.upt, BASE2.upt ... split as in the MIF conversion),
// lines into one route file (BASE.rte). Layers of one base name share its
// files. Files are made as the first point or line comes; they go to
// temporary files that the dataset commits together when it is closed.
// A feature is checked whole before anything of it is written, so one that
// is refused leaves no trace.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <ogrsf_frmts.h>

#include "files/charset_codec.h"
#include "files/output_file.h"
#include "gdal_driver/feature_geometry.h"
#include "gdal_driver/gdal_signatures.h"
#include "receiver/writers.h"

namespace carteloom::gdal {

// The files of one base name in a folder, under the journal of the dataset
// that writes them.
class StemFiles {
 public:
  StemFiles(std::string folder, std::string stem, OutputJournal& journal);
  ~StemFiles();
  void Write(const LayerObject& object);
  // Completes the files and adds them to outputs, with the virtual path each
  // goes to once committed (empty for a real one).
  void Finish(std::vector<std::pair<OutputFile*, std::string>>& outputs);

 private:
  class WaypointParts;
  std::string folder_, stem_;
  OutputJournal& journal_;
  std::unique_ptr<WaypointParts> waypointFiles_;
  std::optional<WaypointWriter> waypoints_;
  std::unique_ptr<OutputFile> routeFile_;
  std::optional<RouteWriter> routes_;
};

// What the layers of a dataset being written share with it.
struct WriteState {
  bool failed = false;          // nothing may be written
  bool inTransaction = false;
  bool writtenInTransaction = false;
};

class WriteLayer final : public OGRLayer {
 public:
  // files: where its objects go (null: the layer is skipped, its features
  // taken and dropped). nameField: the field that names waypoints and
  // routes; null for the field called name, else the first string field.
  WriteLayer(const char* name, StemFiles* files, WriteState& state, const OGRSpatialReference* srs,
             const char* nameField);
  ~WriteLayer() override;

  using OGRLayer::GetLayerDefn;
  CARTELOOM_CONST_SINCE_GDAL_3_12 OGRFeatureDefn* GetLayerDefn() CARTELOOM_CONST_SINCE_GDAL_3_12 override { return defn_; }
  void ResetReading() override {}
  OGRFeature* GetNextFeature() override { return nullptr; }
  int TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 override;
  OGRErr CreateField(CARTELOOM_CONST_SINCE_GDAL_3_9 OGRFieldDefn* field, int approxOK = TRUE) override;
  OGRErr ICreateFeature(OGRFeature* feature) override;

  bool Skipped() const { return files_ == nullptr; }
  // Warns of what the layer left out or changed; of an empty layer.
  void Report() const;

 private:
  OGRErr Fail(GIntBig feature, const std::string& why);
  // The name of the feature into name_, in GBK; false when it has none.
  bool NameOf(OGRFeature& feature);
  void ResolveFields();

  OGRFeatureDefn* defn_;
  StemFiles* files_;
  WriteState& state_;
  ToWgs84 toWgs84_;
  std::string nameFieldOption_;
  bool resolved_ = false;
  int nameField_ = -1, heightField_ = -1;
  GbkRecoder toGbk_{kUtf8CodePage};
  std::string name_;
  GeometryParts parts_;
  GIntBig features_ = 0;
  std::uint64_t replacedNames_ = 0;
  std::uint64_t withoutGeometry_ = 0;
};

}  // namespace carteloom::gdal
