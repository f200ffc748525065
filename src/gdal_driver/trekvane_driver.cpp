#include "gdal_driver/trekvane_driver.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "files/file_routines.h"
#include "files/paths.h"
#include "gdal_driver/gdal_signatures.h"
#include "gdal_driver/gdal_text.h"
#include "gdal_driver/read_layers.h"
#include "gdal_driver/virtual_files.h"
#include "gdal_driver/write_layer.h"
#include "receiver/identify.h"

namespace carteloom::gdal {
namespace {

constexpr const char* kDriverName = "Trekvane";

class ReadDataset final : public GDALDataset {
 public:
  explicit ReadDataset(std::vector<std::unique_ptr<OGRLayer>> layers) : layers_(std::move(layers)) {}
  int GetLayerCount() CARTELOOM_CONST_SINCE_GDAL_3_12 override { return static_cast<int>(layers_.size()); }
  using GDALDataset::GetLayer;
  CARTELOOM_CONST_SINCE_GDAL_3_12 OGRLayer* GetLayer(int index) CARTELOOM_CONST_SINCE_GDAL_3_12 override {
    return index >= 0 && index < GetLayerCount() ? layers_[static_cast<std::size_t>(index)].get() : nullptr;
  }

 private:
  std::vector<std::unique_ptr<OGRLayer>> layers_;
};

// The GPX dataset open in this process that holds a layer of this name:
// the source that ogr2ogr (or QGIS) is copying from; null when there is none.
GDALDataset* GpxSourceOf(const char* layer) {
  int count = 0;
  GDALDataset** open = GDALDataset::GetOpenDatasets(&count);
  for (int i = 0; i < count; ++i) {
    GDALDriver* driver = open[i]->GetDriver();
    if (driver != nullptr && EQUAL(driver->GetDescription(), "GPX") && open[i]->GetLayerByName(layer) != nullptr)
      return open[i];
  }
  return nullptr;
}

std::string SafeStem(std::string stem) {
  for (char& c : stem)
    if (IsSeparator(c)) c = '_';
  return stem;
}

// Layers written into a folder (BASE = the layer's name; for the layers of a
// GPX file its base name, so that its waypoints, routes and tracks become one
// waypoint file and one route file), or into one file named by the dataset
// (BASE = its name without ".upt" or ".rte"). The files of all layers
// replace what was there together when it is closed, and only when the run
// did not fail: ogr2ogr rolls back the transaction of a feature it could not
// write and goes on with -skipfailures, or else stops.
class WriteDataset final : public GDALDataset {
 public:
  WriteDataset(std::string folder, std::string stem) : folder_(std::move(folder)), stem_(std::move(stem)) {}
  ~WriteDataset() override { Finish(); }
  // GDAL 3.7 brought Close(), which 3.13 gave a progress callback.
#if GDAL_VERSION_NUM >= GDAL_COMPUTE_VERSION(3, 13, 0)
  CPLErr Close(GDALProgressFunc progress, void* data) override {
    const bool written = Finish();
    return GDALDataset::Close(progress, data) == CE_None && written ? CE_None : CE_Failure;
  }
#elif GDAL_VERSION_NUM >= GDAL_COMPUTE_VERSION(3, 7, 0)
  CPLErr Close() override {
    const bool written = Finish();
    return GDALDataset::Close() == CE_None && written ? CE_None : CE_Failure;
  }
#endif
  int GetLayerCount() CARTELOOM_CONST_SINCE_GDAL_3_12 override { return static_cast<int>(layers_.size()); }
  using GDALDataset::GetLayer;
  CARTELOOM_CONST_SINCE_GDAL_3_12 OGRLayer* GetLayer(int index) CARTELOOM_CONST_SINCE_GDAL_3_12 override {
    return index >= 0 && index < GetLayerCount() ? layers_[static_cast<std::size_t>(index)].get() : nullptr;
  }
  int TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 override {
    if (EQUAL(capability, ODsCTransactions)) return TRUE;
    return EQUAL(capability, ODsCCreateLayer) && (stem_.empty() || WrittenLayers() == 0);
  }

  OGRErr StartTransaction(int) override {
    if (state_.inTransaction) return OGRERR_FAILURE;
    state_.inTransaction = true;
    state_.writtenInTransaction = false;
    abandoned_ = false;
    return OGRERR_NONE;
  }
  OGRErr CommitTransaction() override {
    if (!state_.inTransaction) return OGRERR_FAILURE;
    state_.inTransaction = false;
    return state_.failed ? OGRERR_FAILURE : OGRERR_NONE;
  }
  // What a refused feature was is never written; features written since
  // the transaction began cannot be taken back, so then nothing is written.
  OGRErr RollbackTransaction() override {
    if (!state_.inTransaction) return OGRERR_FAILURE;
    state_.inTransaction = false;
    abandoned_ = true;
    if (state_.writtenInTransaction) state_.failed = true;
    return OGRERR_NONE;
  }

 protected:
#if CARTELOOM_GDAL_ICREATELAYER_TAKES_GEOMETRY_FIELD
  OGRLayer* ICreateLayer(const char* name, const OGRGeomFieldDefn* geometryField, CSLConstList options) override {
    const OGRSpatialReference* srs = geometryField != nullptr ? geometryField->GetSpatialRef() : nullptr;
#else
  OGRLayer* ICreateLayer(const char* name, CARTELOOM_CONST_SINCE_GDAL_3_8 OGRSpatialReference* srs, OGRwkbGeometryType,
                         char** options) override {
#endif
    GDALDataset* gpx = GpxSourceOf(name);
    if (gpx != nullptr && (EQUAL(name, "route_points") || EQUAL(name, "track_points"))) {
      skipped_.push_back(name);
      if (gpxName_.empty()) gpxName_ = gpx->GetDescription();
      return AddLayer(name, nullptr, srs, options);
    }
    if (!stem_.empty() && WrittenLayers() > 0) {
      state_.failed = true;
      CPLError(CE_Failure, CPLE_NotSupported, "%s takes one layer (%s is another); give a folder to write several",
               GetDescription(), name);
      return nullptr;
    }
    std::string stem = !stem_.empty() ? stem_ : gpx != nullptr ? BaseName(gpx->GetDescription()) : std::string(name);
    std::unique_ptr<StemFiles>& files = files_[SafeStem(stem)];
    if (!files) files = std::make_unique<StemFiles>(folder_, SafeStem(stem), journal_);
    return AddLayer(name, files.get(), srs, options);
  }

 private:
  OGRLayer* AddLayer(const char* name, StemFiles* files, const OGRSpatialReference* srs, CSLConstList options) {
    layers_.push_back(std::make_unique<WriteLayer>(name, files, state_, srs, CSLFetchNameValue(options, "NAME_FIELD")));
    return layers_.back().get();
  }
  std::size_t WrittenLayers() const {
    return static_cast<std::size_t>(
        std::count_if(layers_.begin(), layers_.end(), [](const auto& layer) { return !layer->Skipped(); }));
  }

  // Commits the files once; false when nothing was written.
  bool Finish() {
    if (finished_) return written_;
    finished_ = true;
    if (!skipped_.empty()) {
      std::string layers = skipped_[0];
      for (std::size_t i = 1; i < skipped_.size(); ++i) layers += " and " + skipped_[i];
      CPLError(CE_Warning, CPLE_AppDefined,
               "%s: %s skipped: the routes and tracks of a GPX file are written from its layers routes and tracks",
               gpxName_.c_str(), layers.c_str());
    }
    for (const auto& layer : layers_) layer->Report();
    if (state_.failed || abandoned_ || state_.inTransaction) {
      CPLError(CE_Failure, CPLE_AppDefined, "%s: nothing was written, as the run failed", GetDescription());
      return false;
    }
    std::vector<std::pair<OutputFile*, std::string>> outputs;
    try {
      for (auto& [stem, files] : files_) files->Finish(outputs);
      std::vector<OutputFile*> files;
      for (const auto& output : outputs) files.push_back(output.first);
      CommitTogether(files);
      for (const auto& [file, target] : outputs)
        if (!target.empty()) CopyToVirtualTarget(file->Target(), target);
    } catch (const std::exception& error) {
      gdal::ReportError(CE_Failure, CPLE_FileIO, error);
      return false;
    }
    written_ = true;
    return true;
  }

  std::string folder_, stem_;
  OutputJournal journal_;  // outlives the layers' files
  WriteState state_;
  bool abandoned_ = false;  // the last transaction was rolled back and none began after it
  bool finished_ = false, written_ = false;
  std::map<std::string, std::unique_ptr<StemFiles>> files_;
  std::vector<std::unique_ptr<WriteLayer>> layers_;
  std::vector<std::string> skipped_;
  std::string gpxName_;
};

GDALDataset* Create(const char* name, int, int, int bands, GDALDataType, char**) {
  if (bands != 0) {
    CPLError(CE_Failure, CPLE_NotSupported, "The %s driver writes vector layers only", kDriverName);
    return nullptr;
  }
  const std::string path(name);
  const std::size_t start = NameStart(path);
  const std::optional<ReceiverFileKind> kind = ReceiverKindOf(path.substr(start));
  if (kind == ReceiverFileKind::TrackLog) {
    CPLError(CE_Failure, CPLE_NotSupported, "%s: track logs are only read; points and lines become .upt and .rte files",
             name);
    return nullptr;
  }
  try {
    std::unique_ptr<WriteDataset> dataset;
    if (kind) {
      dataset = std::make_unique<WriteDataset>(start == 0 ? "." : path.substr(0, start - 1), BaseName(path));
    } else if (IsVirtualPath(path)) {
      MakeFolderThroughGdal(path);
      dataset = std::make_unique<WriteDataset>(path, "");
    } else {
      std::error_code error;
      std::filesystem::create_directories(NativePath(path), error);
      if (!std::filesystem::is_directory(NativePath(path)))
        throw FileError(path, error ? error.message() : "is no folder");
      dataset = std::make_unique<WriteDataset>(path, "");
    }
    dataset->SetDescription(name);
    return dataset.release();
  } catch (const std::exception& error) {
    ReportError(CE_Failure, CPLE_OpenFailed, error);
    return nullptr;
  }
}

}  // namespace

int IdentifyReceiverFile(GDALOpenInfo* info) {
  if (info->fpL == nullptr || !ReceiverKindOf(info->pszFilename)) return FALSE;
  ReceiverStart start;
  const std::string_view header(reinterpret_cast<const char*>(info->pabyHeader),
                                static_cast<std::size_t>(info->nHeaderBytes));
  if (const std::optional<bool> verdict = start.Take(header)) return *verdict;
  if (header.empty()) return TRUE;  // an empty file
  return StartsLikeReceiverFileThroughGdal(info->pszFilename);
}

GDALDataset* OpenReceiverFile(GDALOpenInfo* info) {
  if (!IdentifyReceiverFile(info)) return nullptr;
  if (info->eAccess == GA_Update) {
    // QGIS asks for update first and then opens read-only: no message for it.
    CPLDebug(kDriverName, "%s: receiver files are opened read-only", info->pszFilename);
    return nullptr;
  }
  try {
    const bool lines = CPLFetchBool(info->papszOpenOptions, "LINES", false);
    auto dataset = std::make_unique<ReadDataset>(
        ReceiverLayers(info->pszFilename, *ReceiverKindOf(info->pszFilename), lines));
    dataset->SetDescription(info->pszFilename);
    return dataset.release();
  } catch (const std::exception& error) {
    ReportError(CE_Failure, CPLE_OpenFailed, error);
    return nullptr;
  }
}

}  // namespace carteloom::gdal

extern "C" void GDALRegisterMe() {
  using namespace carteloom::gdal;
  if (GDALGetDriverByName(kDriverName) != nullptr) return;
  auto* driver = new GDALDriver();
  driver->SetDescription(kDriverName);
  driver->SetMetadataItem(GDAL_DCAP_VECTOR, "YES");
  driver->SetMetadataItem(GDAL_DCAP_CREATE, "YES");
  driver->SetMetadataItem(GDAL_DCAP_MULTIPLE_VECTOR_LAYERS, "YES");
  driver->SetMetadataItem(GDAL_DCAP_VIRTUALIO, "YES");
  driver->SetMetadataItem(GDAL_DMD_LONGNAME, "Trekvane receiver waypoints, track logs and routes");
  driver->SetMetadataItem(GDAL_DMD_EXTENSIONS, "upt log rte");
  driver->SetMetadataItem(GDAL_DMD_HELPTOPIC, "README.md#gdal-qgis-and-ogr2ogr");
  driver->SetMetadataItem(GDAL_DMD_CREATIONFIELDDATATYPES, "Integer Integer64 Real String Date DateTime Time");
  driver->SetMetadataItem(GDAL_DMD_OPENOPTIONLIST,
                          "<OpenOptionList>"
                          "<Option name='LINES' type='boolean' default='NO' description='Also offer the track of a "
                          "log and the routes of a route file as lines (layers tracks and routes)'/>"
                          "</OpenOptionList>");
  driver->SetMetadataItem(
      GDAL_DS_LAYER_CREATIONOPTIONLIST,
      "<LayerCreationOptionList>"
      "<Option name='NAME_FIELD' type='string' description='Field that names the waypoints and routes "
      "(default: the field called name, else the first string field)'/>"
      "</LayerCreationOptionList>");
  driver->pfnIdentify = IdentifyReceiverFile;
  driver->pfnOpen = OpenReceiverFile;
  driver->pfnCreate = Create;
  GetGDALDriverManager()->RegisterDriver(driver);
}
