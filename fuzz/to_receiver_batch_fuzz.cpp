// The whole MIF-to-receiver batch on arbitrary MIF and MID text: the layer
// is converted or refused with a message, never half: every file left in the
// output folder is whole, none is a temporary one, and no point or vertex is
// lost; a layer refused halfway (a coordinate out of range) leaves nothing.
#include <cstdint>
#include <filesystem>
#include <string>

#include "formats/mif_reader.h"
#include "fuzz_support.h"
#include "fuzz_ui.h"
#include "mif_input.h"
#include "to_receiver/to_receiver_batch.h"

using namespace carteloom;
using namespace carteloom::fuzz;

namespace {

struct LayerFigures {
  std::size_t points = 0;
  std::size_t vertices = 0;
};

LayerFigures FiguresOf(const std::string& mif) {
  LayerFigures figures;
  MifScanner scanner(mif);
  MifObject object;
  while (scanner.Next(object)) {
    figures.points += object.points.size();
    figures.vertices += object.vertices.size();
  }
  return figures;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ClearScratch();
  MifInput input = SplitMifInput(data, size);
  std::filesystem::create_directory(ScratchPath("in"));
  std::filesystem::create_directory(ScratchPath("out"));
  WriteFileBytes(ScratchPath("in/layer.mif"), input.mif);
  // Every other input names its MID in capitals, as files copied from Windows media do.
  WriteFileBytes(ScratchPath(size % 2 ? "in/layer.MID" : "in/layer.mid"), input.mid);

  FuzzUi ui({ScratchPath("in/layer.mif")});
  BatchResult result = RunToReceiverBatch(ui, ScratchPath("out"));

  SentenceCounts total;
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchPath("out"))) {
    std::string name = entry.path().filename().string();
    Require(name.find(".tmp") == std::string::npos, "a temporary file left behind: " + name);
    SentenceCounts counts = CheckReceiverFile(ReadFileBytes(entry.path().string()), name);
    total.waypoints += counts.waypoints;
    total.routes += counts.routes;
    total.ends += counts.ends;
    ++files;
  }
  if (result.converted == 0) {
    Require(files == 0, "a layer that was not converted left files");
    Require(!ui.messages.empty(), "a layer was neither converted nor refused with a message");
    return 0;
  }
  // Points go to the waypoint files, lines to one route file beside them.
  LayerFigures figures = FiguresOf(input.mif);
  MifLayerContents contents = MifScanner(input.mif).Contents();
  Require(total.ends == (contents.lines ? 1u : 0u), "one end sentence when the layer has lines, none without");
  Require(total.waypoints == figures.points + figures.vertices, "waypoints differ from the points and vertices");
  Require(files >= (contents.points ? 1u : 0u) + (contents.lines ? 1u : 0u), "an output missing");
  return 0;
}
