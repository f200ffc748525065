#include "gdal_driver/write_layer.h"

#include "files/paths.h"

namespace carteloom::gdal {

// BASE.upt first, then BASE2.upt, BASE3.upt ... as the MIF conversion names them.
class WriteLayer::Files : public WaypointFiles {
 public:
  Files(std::string folder, std::string stem, OutputJournal& journal)
      : folder_(std::move(folder)), stem_(std::move(stem)), journal_(journal) {
    Open();
  }
  OutputFile& Current() override { return *files_.back(); }
  bool StartNext() override {
    files_.back()->Close();
    Open();
    return true;
  }
  void Finish(std::vector<OutputFile*>& outputs) {
    files_.back()->Close();
    for (const auto& file : files_) outputs.push_back(file.get());
  }

 private:
  void Open() {
    files_.push_back(std::make_unique<OutputFile>(InFolder(folder_, PartName(stem_, files_.size() + 1) + ".upt"), journal_));
  }

  std::string folder_, stem_;
  OutputJournal& journal_;
  std::vector<std::unique_ptr<OutputFile>> files_;
};

WriteLayer::WriteLayer(const char* name, std::string folder, std::string stem, OutputJournal& journal,
                       const OGRSpatialReference* srs, const char* nameField)
    : defn_(new OGRFeatureDefn(name)),
      folder_(std::move(folder)),
      stem_(std::move(stem)),
      journal_(journal),
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
         EQUAL(capability, OLCStringsAsUTF8);
}

OGRErr WriteLayer::CreateField(CARTELOOM_CONST_SINCE_GDAL_3_9 OGRFieldDefn* field, int) {
  defn_->AddFieldDefn(field);
  return OGRERR_NONE;
}

OGRErr WriteLayer::Fail(GIntBig feature, const std::string& why) {
  failed_ = true;
  CPLError(CE_Failure, CPLE_NotSupported, "Layer %s, feature %lld: %s; none of the layer's files is written",
           defn_->GetName(), static_cast<long long>(feature), why.c_str());
  return OGRERR_FAILURE;
}

bool WriteLayer::NameOf(OGRFeature& feature) {
  if (!nameField_) {
    nameField_ = -1;
    if (!nameFieldOption_.empty()) {
      nameField_ = defn_->GetFieldIndex(nameFieldOption_.c_str());
    } else {
      for (int i = 0; i < defn_->GetFieldCount() && *nameField_ < 0; ++i)
        if (defn_->GetFieldDefn(i)->GetType() == OFTString) nameField_ = i;
    }
  }
  if (*nameField_ < 0 || !feature.IsFieldSetAndNotNull(*nameField_)) return false;
  bool replaced = false;
  name_ = toGbk_.Recode(feature.GetFieldAsString(*nameField_), &replaced);
  if (replaced) ++replacedNames_;
  return true;
}

OGRErr WriteLayer::ICreateFeature(OGRFeature* feature) {
  const GIntBig number = ++features_;
  if (failed_) return OGRERR_FAILURE;
  try {
    if (features_ == 1 && !toWgs84_.Check().empty()) return Fail(number, toWgs84_.Check());
    if (features_ == 1 && !nameFieldOption_.empty() && defn_->GetFieldIndex(nameFieldOption_.c_str()) < 0)
      return Fail(number, "there is no field " + nameFieldOption_ + " to take names from (NAME_FIELD)");
    const OGRGeometry* geometry = feature->GetGeometryRef();
    if (geometry == nullptr || geometry->IsEmpty()) {
      ++withoutGeometry_;
      return OGRERR_NONE;
    }
    if (std::string problem = toWgs84_.Parts(*geometry, parts_); !problem.empty()) return Fail(number, problem);
    LayerObject object{parts_.points, parts_.vertices, parts_.sectionEnds, false, NameOf(*feature), name_};
    if (!object.points.empty()) {
      if (!waypoints_) {
        waypointFiles_ = std::make_unique<Files>(folder_, stem_, journal_);
        waypoints_.emplace(*waypointFiles_);
      }
      waypoints_->Write(object);
    }
    if (!object.sectionEnds.empty()) {
      if (!routes_) {
        routeFile_ = std::make_unique<OutputFile>(InFolder(folder_, stem_ + ".rte"), journal_);
        routes_.emplace(*routeFile_);
      }
      routes_->Write(object);
    }
    return OGRERR_NONE;
  } catch (const std::exception& error) {
    return Fail(number, error.what());
  }
}

bool WriteLayer::Finish(std::vector<OutputFile*>& outputs) {
  if (failed_) return false;
  try {
    if (waypointFiles_) waypointFiles_->Finish(outputs);
    if (routes_) {
      routes_->Finish();
      routeFile_->Close();
      outputs.push_back(routeFile_.get());
    }
  } catch (const std::exception& error) {
    failed_ = true;
    CPLError(CE_Failure, CPLE_FileIO, "Layer %s: %s", defn_->GetName(), error.what());
    return false;
  }
  if (replacedNames_ > 0)
    CPLError(CE_Warning, CPLE_AppDefined, "Layer %s: %llu names held characters that GBK cannot hold, written as \"?\"",
             defn_->GetName(), static_cast<unsigned long long>(replacedNames_));
  if (withoutGeometry_ > 0)
    CPLError(CE_Warning, CPLE_AppDefined, "Layer %s: %llu features without geometry were skipped", defn_->GetName(),
             static_cast<unsigned long long>(withoutGeometry_));
  return true;
}

}  // namespace carteloom::gdal
