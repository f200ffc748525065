// The receiver-to-MIF batch on one file, taken as a waypoint file, a track
// log or a route file by the size of the input (modulo 3). It becomes a
// MIF/MID pair that holds together (one MID row per object), or,
// when the bytes are no receiver file, is refused with a message and leaves
// no file. Where GDAL is at hand, the GDAL driver opens the same files, and
// its first layer (with the lines offered) holds the objects and vertices of
// the MIF.
#include <memory>

#include "fuzz_support.h"
#include "receiver/records.h"
#include "support/output_checks.h"
#include "to_mif/to_mif_batch.h"

#ifdef CARTELOOM_FUZZ_GDAL
#include <ogrsf_frmts.h>

#include "gdal_driver/trekvane_driver.h"
#endif

using namespace carteloom;
using carteloom::fuzz::Require;

namespace {
void RequireDriverReadsAlike([[maybe_unused]] const std::string& path, [[maybe_unused]] bool converted,
                             [[maybe_unused]] std::size_t objects, [[maybe_unused]] std::size_t vertices) {
#ifdef CARTELOOM_FUZZ_GDAL
  static const bool quiet = (CPLSetErrorHandler(CPLQuietErrorHandler), true);
  static_cast<void>(quiet);
  char* lines[] = {const_cast<char*>("LINES=YES"), nullptr};
  GDALOpenInfo info(path.c_str(), GA_ReadOnly);
  info.papszOpenOptions = lines;
  std::unique_ptr<GDALDataset> dataset(gdal::OpenReceiverFile(&info));
  Require((dataset != nullptr) == converted, "the GDAL driver takes other files than the batch: " + path);
  if (!dataset) return;
  std::size_t features = 0, points = 0;
  for (auto& feature : *dataset->GetLayer(0)) {
    ++features;
    const OGRGeometry* geometry = feature->GetGeometryRef();
    if (geometry == nullptr) continue;
    if (wkbFlatten(geometry->getGeometryType()) == wkbPoint) ++points;
    else if (wkbFlatten(geometry->getGeometryType()) == wkbLineString) points += geometry->toLineString()->getNumPoints();
    else for (const OGRLineString* line : *geometry->toMultiLineString()) points += line->getNumPoints();
  }
  Require(features == objects && points == vertices, "the GDAL driver reads " + std::to_string(features) +
                                                         " features of " + std::to_string(points) + " vertices");
  for (int layer = 1; layer < dataset->GetLayerCount(); ++layer)
    for (auto& feature : *dataset->GetLayer(layer)) static_cast<void>(feature);
#endif
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string source = std::string("source") + (size % 3 == 0 ? ".upt" : size % 3 == 1 ? ".log" : ".rte");
  const fuzz::BatchRun run = fuzz::RunBatch([](BatchUi& ui, const std::string& out) { return RunToMifBatch(ui, out); },
                                            {{source, text}}, {source});
  // A receiver file is empty, or its first bytes after blanks and line ends start a record.
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  const bool receiver = size == 0 || (first != std::string::npos && text.compare(first, 5, kTagPrefix) == 0);
  Require(run.converted == receiver && (receiver || (run.messages == 1 && run.outputs.empty())),
          source + (receiver ? " refused" : " converted, or refused without a message, or leaving files"));
  if (run.converted == 0) {
    RequireDriverReadsAlike(run.sources + source, false, 0, 0);
    return 0;
  }
  Require(run.outputs.size() == 2 && run.outputs.contains("source.mif") && run.outputs.contains("source.mid"),
          "the outputs are no MIF/MID pair");
  const std::string &mif = run.outputs.at("source.mif"), &mid = run.outputs.at("source.mid");
  const testing::PairShape shape = testing::ShapeOfPair(mif, mid);
  Require(shape.problem.empty() && (size % 3 != 1 || shape.objects <= 1), source + ": " + shape.problem);
  RequireDriverReadsAlike(run.sources + source, true, shape.objects, shape.vertices);
  return 0;
}
