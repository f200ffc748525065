#pragma once
// A layer written to receiver files with the core's writers: points into
// waypoint files (BASE.upt, BASE2.upt ... split as in the MIF conversion),
// lines into one route file (BASE.rte). Files are made as the first point
// or line comes; they go to temporary files that the dataset commits
// together when it is closed. A feature that cannot be written fails the
// layer: none of its files is then committed.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <ogrsf_frmts.h>

#include "files/charset_codec.h"
#include "files/output_file.h"
#include "gdal_driver/feature_geometry.h"
#include "gdal_driver/gdal_signatures.h"
#include "receiver/writers.h"

namespace carteloom::gdal {

class WriteLayer final : public OGRLayer {
 public:
  // folder and stem: where the files go and their base name; journal: the
  // dataset's, under which the files of all layers are committed. nameField:
  // the field that names waypoints and routes; null for the first string field.
  WriteLayer(const char* name, std::string folder, std::string stem, OutputJournal& journal,
             const OGRSpatialReference* srs, const char* nameField);
  ~WriteLayer() override;

  using OGRLayer::GetLayerDefn;
  CARTELOOM_CONST_SINCE_GDAL_3_12 OGRFeatureDefn* GetLayerDefn() CARTELOOM_CONST_SINCE_GDAL_3_12 override { return defn_; }
  void ResetReading() override {}
  OGRFeature* GetNextFeature() override { return nullptr; }
  int TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 override;
  OGRErr CreateField(CARTELOOM_CONST_SINCE_GDAL_3_9 OGRFieldDefn* field, int approxOK = TRUE) override;
  OGRErr ICreateFeature(OGRFeature* feature) override;

  // Completes the files and adds them to outputs; false when the layer failed.
  bool Finish(std::vector<OutputFile*>& outputs);

 private:
  class Files;
  OGRErr Fail(GIntBig feature, const std::string& why);
  // The name of the feature into name_, in GBK; false when it has none.
  bool NameOf(OGRFeature& feature);

  OGRFeatureDefn* defn_;
  std::string folder_, stem_;
  OutputJournal& journal_;
  ToWgs84 toWgs84_;
  std::string nameFieldOption_;
  std::optional<int> nameField_;  // resolved with the first feature; -1: none
  GbkRecoder toGbk_{kUtf8CodePage};
  std::string name_;
  GeometryParts parts_;
  GIntBig features_ = 0;
  std::uint64_t replacedNames_ = 0;
  std::uint64_t withoutGeometry_ = 0;
  bool failed_ = false;
  std::unique_ptr<Files> waypointFiles_;
  std::optional<WaypointWriter> waypoints_;
  std::unique_ptr<OutputFile> routeFile_;
  std::optional<RouteWriter> routes_;
};

}  // namespace carteloom::gdal
