// MIF layers to waypoint and route files, on arbitrary MIF and MID text: no
// point or vertex is lost, no waypoint file holds more than its share, every
// section is a route, every sentence is whole and the end sentence is last.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/output_file.h"
#include "formats/sentence.h"
#include "fuzz_support.h"
#include "fuzz_ui.h"
#include "mif_input.h"
#include "to_receiver/converters.h"

using namespace carteloom;
using namespace carteloom::fuzz;

namespace {

class ScratchWaypointFiles : public WaypointFiles {
 public:
  ScratchWaypointFiles() { Open(); }
  OutputFile& Current() override { return *files_.back(); }
  bool StartNext() override {
    Open();
    return true;
  }
  void CommitAll() {
    for (auto& file : files_) file->Commit();
  }
  std::size_t Count() const { return files_.size(); }
  static std::string PathOf(std::size_t index) {
    return ScratchPath(index == 0 ? "B.upt" : "B" + std::to_string(index + 1) + ".upt");
  }

 private:
  void Open() { files_.push_back(std::make_unique<OutputFile>(PathOf(files_.size()))); }
  std::vector<std::unique_ptr<OutputFile>> files_;
};

// What the layer holds, read on its own.
struct LayerFigures {
  std::size_t points = 0;
  std::size_t vertices = 0;
  std::size_t routeSentences = 0;
  bool inRange = true;
};

LayerFigures FiguresOf(const std::string& mif) {
  LayerFigures figures;
  MifScanner scanner(mif);
  MifObject object;
  auto check = [&figures](const std::vector<MifVertex>& all) {
    for (const MifVertex& v : all) figures.inRange = figures.inRange && std::abs(v.x) <= 180 && std::abs(v.y) <= 90;
  };
  while (scanner.Next(object)) {
    check(object.points);
    check(object.vertices);
    figures.points += object.points.size();
    figures.vertices += object.vertices.size();
    std::size_t start = 0;
    for (std::size_t end : object.sectionEnds) {
      figures.routeSentences += (end - start + 1) / 2;
      start = end;
    }
  }
  return figures;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ClearScratch();
  MifInput input = SplitMifInput(data, size);
  const LayerFigures figures = FiguresOf(input.mif);
  MifScanner scanner(input.mif);
  MidReader names = MidReader::FromText(input.mid, scanner.Delimiter());
  FuzzUi ui;
  ScratchWaypointFiles files;
  {
    OutputFile routes(ScratchPath("B.rte"));
    try {
      Require(ConvertMifLayer(scanner, names, &files, &routes, ui), "the conversion stopped though every file was had");
    } catch (const CoordinateError&) {
      Require(!figures.inRange, "a coordinate error in a layer whose coordinates are all in range");
      return 0;
    }
    Require(figures.inRange, "a coordinate out of range was not refused");
    files.CommitAll();
    routes.Commit();
  }

  std::size_t written = 0;
  for (std::size_t i = 0; i < files.Count(); ++i) {
    SentenceCounts counts = CheckReceiverFile(ReadFileBytes(ScratchWaypointFiles::PathOf(i)), "waypoint file");
    Require(counts.routes == 0 && counts.ends == 0, "a waypoint file holds other sentences");
    Require(counts.waypoints <= (i == 0 ? 499u : 500u), "a waypoint file holds too many waypoints");
    Require(i == 0 || counts.waypoints > 0, "an empty further waypoint file");
    Require(i + 1 == files.Count() || counts.waypoints == (i == 0 ? 499u : 500u), "a file split too early");
    written += counts.waypoints;
  }
  Require(written == figures.points, "waypoints written differ from the points of the layer");

  std::string bytes = ReadFileBytes(ScratchPath("B.rte"));
  SentenceCounts counts = CheckReceiverFile(bytes, "route file");
  Require(counts.waypoints == figures.vertices, "waypoints differ from the vertices of the layer");
  Require(counts.routes == figures.routeSentences, "route sentences differ from the sections of the layer");
  Require(counts.ends == 1 && bytes.size() >= kEndSentence.size() + 2 &&
              bytes.compare(bytes.size() - kEndSentence.size() - 2, kEndSentence.size(), kEndSentence) == 0,
          "the end sentence is not once and last");
  // Waypoints come first, then the routes that name them.
  std::size_t lastWaypoint = bytes.rfind("$PZTJWPL,");
  std::size_t firstRoute = bytes.find("$PZTJRTE,");
  Require(lastWaypoint == std::string::npos || firstRoute == std::string::npos || lastWaypoint < firstRoute,
          "a waypoint after the routes");
  return 0;
}
