#include "gdal_driver/trekvane_driver.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/file_routines.h"
#include "files/paths.h"
#include "gdal_driver/gdal_signatures.h"
#include "gdal_driver/read_layers.h"
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

// Layers written into a folder (BASE = the layer's name), or into one file
// named by the dataset (BASE = its name without ".upt" or ".rte"). The
// files of all layers replace what was there together, when it is closed.
class WriteDataset final : public GDALDataset {
 public:
  WriteDataset(std::string folder, std::string stem) : folder_(std::move(folder)), stem_(std::move(stem)) {}
  ~WriteDataset() override { Commit(); }
  int GetLayerCount() CARTELOOM_CONST_SINCE_GDAL_3_12 override { return static_cast<int>(layers_.size()); }
  using GDALDataset::GetLayer;
  CARTELOOM_CONST_SINCE_GDAL_3_12 OGRLayer* GetLayer(int index) CARTELOOM_CONST_SINCE_GDAL_3_12 override {
    return index >= 0 && index < GetLayerCount() ? layers_[static_cast<std::size_t>(index)].get() : nullptr;
  }
  int TestCapability(const char* capability) CARTELOOM_CONST_SINCE_GDAL_3_12 override {
    return EQUAL(capability, ODsCCreateLayer) && (stem_.empty() || layers_.empty());
  }

 protected:
#if CARTELOOM_GDAL_ICREATELAYER_TAKES_GEOMETRY_FIELD
  OGRLayer* ICreateLayer(const char* name, const OGRGeomFieldDefn* geometryField, CSLConstList options) override {
    const OGRSpatialReference* srs = geometryField != nullptr ? geometryField->GetSpatialRef() : nullptr;
#else
  OGRLayer* ICreateLayer(const char* name, CARTELOOM_CONST_SINCE_GDAL_3_8 OGRSpatialReference* srs, OGRwkbGeometryType,
                         char** options) override {
#endif
    if (!stem_.empty() && !layers_.empty()) {
      CPLError(CE_Failure, CPLE_NotSupported,
               "%s takes one layer; give a folder as the destination to write several", GetDescription());
      return nullptr;
    }
    std::string stem = stem_.empty() ? std::string(name) : stem_;
    for (char& c : stem)
      if (IsSeparator(c)) c = '_';
    layers_.push_back(std::make_unique<WriteLayer>(name, folder_, stem, journal_, srs,
                                                   CSLFetchNameValue(options, "NAME_FIELD")));
    return layers_.back().get();
  }

 private:
  void Commit() {
    std::vector<OutputFile*> outputs;
    bool sound = true;
    for (const auto& layer : layers_) sound = layer->Finish(outputs) && sound;
    if (!sound) {
      CPLError(CE_Failure, CPLE_AppDefined, "%s: nothing was written, as a layer failed", GetDescription());
      return;
    }
    try {
      CommitTogether(outputs);
    } catch (const std::exception& error) {
      CPLError(CE_Failure, CPLE_FileIO, "%s", error.what());
    }
  }

  std::string folder_, stem_;
  OutputJournal journal_;  // outlives the layers' files
  std::vector<std::unique_ptr<WriteLayer>> layers_;
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
    } else {
      std::error_code error;
      std::filesystem::create_directories(NativePath(path), error);
      if (!std::filesystem::is_directory(NativePath(path)))
        throw FileError(path, error ? ReasonForError(error) : "is no folder");
      dataset = std::make_unique<WriteDataset>(path, "");
    }
    dataset->SetDescription(name);
    return dataset.release();
  } catch (const std::exception& error) {
    CPLError(CE_Failure, CPLE_OpenFailed, "%s", error.what());
    return nullptr;
  }
}

}  // namespace

int IdentifyReceiverFile(GDALOpenInfo* info) {
  if (info->fpL == nullptr || !ReceiverKindOf(info->pszFilename)) return FALSE;
  try {
    return StartsLikeReceiverFile(info->pszFilename);
  } catch (const std::exception&) {
    return FALSE;
  }
}

GDALDataset* OpenReceiverFile(GDALOpenInfo* info) {
  if (!IdentifyReceiverFile(info)) return nullptr;
  if (info->eAccess == GA_Update) {
    CPLError(CE_Failure, CPLE_NotSupported, "%s: receiver files are read only; write them with ogr2ogr -f %s",
             info->pszFilename, kDriverName);
    return nullptr;
  }
  try {
    auto dataset = std::make_unique<ReadDataset>(ReceiverLayers(info->pszFilename, *ReceiverKindOf(info->pszFilename)));
    dataset->SetDescription(info->pszFilename);
    return dataset.release();
  } catch (const std::exception& error) {
    CPLError(CE_Failure, CPLE_OpenFailed, "%s", error.what());
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
  driver->SetMetadataItem(GDAL_DMD_LONGNAME, "Trekvane receiver waypoints, track logs and routes");
  driver->SetMetadataItem(GDAL_DMD_EXTENSIONS, "upt log rte");
  driver->SetMetadataItem(GDAL_DMD_CREATIONFIELDDATATYPES, "Integer Integer64 Real String Date DateTime Time");
  driver->SetMetadataItem(
      GDAL_DS_LAYER_CREATIONOPTIONLIST,
      "<LayerCreationOptionList>"
      "<Option name='NAME_FIELD' type='string' description='Field that names the waypoints and routes "
      "(default: the first string field)'/>"
      "</LayerCreationOptionList>");
  driver->pfnIdentify = IdentifyReceiverFile;
  driver->pfnOpen = OpenReceiverFile;
  driver->pfnCreate = Create;
  GetGDALDriverManager()->RegisterDriver(driver);
}
