#include "gdal_driver/write_layer.h"

#include <cmath>

#include "files/paths.h"
#include "gdal_driver/gdal_text.h"
#include "gdal_driver/virtual_files.h"

namespace carteloom::gdal {
namespace {

std::unique_ptr<OutputFile> NewOutput(const std::string& target, OutputJournal& journal) {
  return std::make_unique<OutputFile>(LocalTargetFor(target), journal);
}

// The virtual path an output goes to, or empty.
std::string VirtualTarget(const std::string& target) { return IsVirtualPath(target) ? target : std::string(); }

}  // namespace

// BASE.upt first, then BASE2.upt, BASE3.upt ... as the MIF conversion names them.
class StemFiles::WaypointParts : public WaypointFiles {
 public:
  WaypointParts(std::string folder, std::string stem, OutputJournal& journal)
      : folder_(std::move(folder)), stem_(std::move(stem)), journal_(journal) {
    Open();
  }
  OutputFile& Current() override { return *files_.back().first; }
  bool StartNext() override {
    files_.back().first->Close();
    Open();
    return true;
  }
  void Finish(std::vector<std::pair<OutputFile*, std::string>>& outputs) {
    files_.back().first->Close();
    for (const auto& [file, target] : files_) outputs.emplace_back(file.get(), target);
  }

 private:
  void Open() {
    const std::string target = InFolder(folder_, PartName(stem_, files_.size() + 1) + ".upt");
    files_.emplace_back(NewOutput(target, journal_), VirtualTarget(target));
  }

  std::string folder_, stem_;
  OutputJournal& journal_;
  std::vector<std::pair<std::unique_ptr<OutputFile>, std::string>> files_;
};

StemFiles::StemFiles(std::string folder, std::string stem, OutputJournal& journal)
    : folder_(std::move(folder)), stem_(std::move(stem)), journal_(journal) {}
StemFiles::~StemFiles() = default;

void StemFiles::Write(const LayerObject& object) {
  if (!object.points.empty()) {
    if (!waypoints_) {
      waypointFiles_ = std::make_unique<WaypointParts>(folder_, stem_, journal_);
      waypoints_.emplace(*waypointFiles_);
    }
    waypoints_->Write(object);
  }
  if (!object.sectionEnds.empty()) {
    if (!routes_) {
      routeFile_ = NewOutput(InFolder(folder_, stem_ + ".rte"), journal_);
      routes_.emplace(*routeFile_);
    }
    routes_->Write(object);
  }
}

void StemFiles::Finish(std::vector<std::pair<OutputFile*, std::string>>& outputs) {
  if (waypointFiles_) waypointFiles_->Finish(outputs);
  if (routes_) {
    routes_->Finish();
    routeFile_->Close();
    outputs.emplace_back(routeFile_.get(), VirtualTarget(InFolder(folder_, stem_ + ".rte")));
  }
}

WriteLayer::WriteLayer(const char* name, StemFiles* files, WriteState& state, const OGRSpatialReference* srs,
                       const char* nameField)
    : defn_(new OGRFeatureDefn(name)),
      files_(files),
      state_(state),
      toWgs84_(srs),
      nameFieldOption_(nameField != nullptr ? nameField : "") {
  SetDescription(name);
  defn_->Reference();
  defn_->SetGeomType(wkbUnknown);
  if (srs != nullptr) defn_->GetGeomFieldDefn(0)->SetSpatialRef(const_cast<OGRSpatialReference*>(srs));
}

WriteLayer::~WriteLayer() { defn_->Release(); }

int WriteLayer::TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 {
  return EQUAL(capability, OLCSequentialWrite) || EQUAL(capability, OLCCreateField) ||
         EQUAL(capability, OLCStringsAsUTF8) || EQUAL(capability, OLCZGeometries);
}

OGRErr WriteLayer::CreateField(CARTELOOM_CONST_SINCE_GDAL_3_9 OGRFieldDefn* field, int) {
  defn_->AddFieldDefn(field);
  return OGRERR_NONE;
}

OGRErr WriteLayer::Fail(GIntBig feature, const std::string& why) {
  // Outside a transaction the run fails with it; inside one, whoever writes
  // decides by rolling back or going on (ogr2ogr -skipfailures), and the
  // feature itself left nothing.
  if (!state_.inTransaction) state_.failed = true;
  CPLError(state_.inTransaction ? CE_Warning : CE_Failure, CPLE_NotSupported,
           "Layer %s, feature %lld is not written: %s", defn_->GetName(), static_cast<long long>(feature), why.c_str());
  return OGRERR_FAILURE;
}

// Names come from NAME_FIELD, else from a field called name in any case,
// else from the first string field; heights from a field ele or altitude.
void WriteLayer::ResolveFields() {
  resolved_ = true;
  for (int i = defn_->GetFieldCount() - 1; i >= 0; --i) {
    const OGRFieldDefn& field = *defn_->GetFieldDefn(i);
    if (EQUAL(field.GetNameRef(), "name")) nameField_ = i;
    if ((EQUAL(field.GetNameRef(), "ele") || EQUAL(field.GetNameRef(), "altitude")) &&
        (field.GetType() == OFTReal || field.GetType() == OFTInteger || field.GetType() == OFTInteger64))
      heightField_ = i;
  }
  for (int i = 0; i < defn_->GetFieldCount() && nameField_ < 0; ++i)
    if (defn_->GetFieldDefn(i)->GetType() == OFTString) nameField_ = i;
  if (!nameFieldOption_.empty()) nameField_ = defn_->GetFieldIndex(nameFieldOption_.c_str());
}

bool WriteLayer::NameOf(OGRFeature& feature) {
  if (nameField_ < 0 || !feature.IsFieldSetAndNotNull(nameField_)) return false;
  bool replaced = false;
  name_ = toGbk_.Recode(feature.GetFieldAsString(nameField_), &replaced);
  if (replaced) ++replacedNames_;
  return true;
}

OGRErr WriteLayer::ICreateFeature(OGRFeature* feature) {
  const GIntBig number = ++features_;
  if (files_ == nullptr) return OGRERR_NONE;
  if (state_.failed) return OGRERR_FAILURE;
  if (!resolved_) ResolveFields();
  try {
    if (!toWgs84_.Check().empty()) return Fail(number, toWgs84_.Check());
    if (!nameFieldOption_.empty() && nameField_ < 0)
      return Fail(number, "there is no field " + nameFieldOption_ + " to take names from (NAME_FIELD)");
    const OGRGeometry* geometry = feature->GetGeometryRef();
    if (geometry == nullptr || geometry->IsEmpty()) {
      ++withoutGeometry_;
      return OGRERR_NONE;
    }
    if (std::string problem = toWgs84_.Parts(*geometry, parts_); !problem.empty()) return Fail(number, problem);
    if (heightField_ >= 0 && feature->IsFieldSetAndNotNull(heightField_)) {
      const double height = feature->GetFieldAsDouble(heightField_);
      for (auto* heights : {&parts_.pointHeights, &parts_.vertexHeights})
        for (double& h : *heights)
          if (std::isnan(h)) h = height;
    }
    LayerObject object{parts_.points, parts_.vertices, parts_.sectionEnds, false, NameOf(*feature), name_,
                       parts_.pointHeights, parts_.vertexHeights};
    state_.writtenInTransaction = state_.writtenInTransaction || state_.inTransaction;
    files_->Write(object);
    return OGRERR_NONE;
  } catch (const std::exception& error) {
    state_.failed = true;  // a file may hold part of the feature
    ReportError(CE_Failure, CPLE_FileIO, error);
    return OGRERR_FAILURE;
  }
}

void WriteLayer::Report() const {
  if (files_ == nullptr) return;
  if (features_ == 0)
    CPLError(CE_Warning, CPLE_AppDefined, "Layer %s is empty: nothing is written of it", defn_->GetName());
  if (replacedNames_ > 0)
    CPLError(CE_Warning, CPLE_AppDefined, "Layer %s: %llu names held characters that GBK cannot hold, written as \"?\"",
             defn_->GetName(), static_cast<unsigned long long>(replacedNames_));
  if (withoutGeometry_ > 0)
    CPLError(CE_Warning, CPLE_AppDefined, "Layer %s: %llu features without geometry were skipped", defn_->GetName(),
             static_cast<unsigned long long>(withoutGeometry_));
}

}  // namespace carteloom::gdal
