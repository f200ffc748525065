// The MIF-to-receiver batch on a layer: the MIF text, then optionally NUL
// "MID" NUL and the MID text. A layer is converted whole or refused with a
// message and no file. Converted, every point is a waypoint (499 in the
// first file, 500 in each further one), every vertex a route waypoint, each
// two of a section a route sentence, and the end sentence closes the routes.
#include <cmath>

#include "fuzz_support.h"
#include "mif/mif_scanner.h"
#include "receiver/records.h"
#include "support/output_checks.h"
#include "to_receiver/to_receiver_batch.h"

using namespace carteloom;
using carteloom::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t marker = input.find(std::string_view("\0MID\0", 5));
  const std::string mif = input.substr(0, marker), mid = marker == std::string::npos ? "" : input.substr(marker + 5);
  // Every other input names its MID in capitals, as files copied from Windows media do.
  const std::string midName = size % 2 ? "layer.MID" : "layer.mid";
  const fuzz::BatchRun run = fuzz::RunBatch(RunToReceiverBatch, {{"layer.mif", mif}, {midName, mid}}, {"layer.mif"});

  // What the layer holds, read on its own.
  MifScanner scanner = MifScanner::FromText(std::string(mif));
  const MifLayerContents contents = scanner.Contents();
  bool inRange = true;
  std::size_t points = 0, vertices = 0, routeSentences = 0;
  for (MifObject object; scanner.Next(object);) {
    for (const auto* all : {&object.points, &object.vertices})
      for (const Position& v : *all) inRange = inRange && std::abs(v.longitude) <= 180 && std::abs(v.latitude) <= 90;
    points += object.points.size();
    vertices += object.vertices.size();
    for (std::size_t start = 0, i = 0; i < object.sectionEnds.size(); start = object.sectionEnds[i++])
      routeSentences += (object.sectionEnds[i] - start + 1) / 2;
  }
  const bool sound = scanner.DeclaresWgs84() && (contents.points || contents.lines) && inRange;
  Require(run.converted == sound, sound ? "a sound layer was refused" : "a layer that should be refused was converted");
  Require(sound || (run.outputs.empty() && run.messages > 0), "a layer refused without a message, or leaving files");
  if (!sound) return 0;

  std::size_t parts = 0, written = 0;
  bool full = true;  // a further file only once the last one holds its share
  for (std::string upt = "layer.upt"; run.outputs.contains(upt); upt = "layer" + std::to_string(++parts + 1) + ".upt") {
    const testing::SentenceCounts counts = testing::CountSentences(run.outputs.at(upt));
    const std::size_t share = parts == 0 ? 499 : 500;
    Require(counts.problem.empty() && full && counts.routes + counts.ends == 0 && counts.waypoints <= share &&
                (parts == 0 || counts.waypoints > 0),
            upt + ": " + std::to_string(counts.waypoints) + " waypoints, split too early, or " + counts.problem);
    full = counts.waypoints == share;
    written += counts.waypoints;
  }
  const bool lines = run.outputs.contains("layer.rte");
  Require(written == points && (parts > 0) == contents.points && lines == contents.lines &&
              run.outputs.size() == parts + lines,
          std::to_string(written) + " waypoints of " + std::to_string(points) + " points, or outputs astray");
  if (!lines) return 0;
  const std::string& routes = run.outputs.at("layer.rte");
  const testing::SentenceCounts counts = testing::CountSentences(routes);
  Require(counts.problem.empty() && counts.waypoints == vertices && counts.routes == routeSentences,
          "layer.rte: waypoints and routes differ from the layer's vertices and sections, or " + counts.problem);
  // The end sentence closes the file, and the route sentences follow every waypoint they name.
  Require(counts.ends == 1 && routes.ends_with(std::string(kEndSentence) + "\r\n") &&
              (counts.waypoints == 0 || routes.rfind("$PZTJWPL,") < routes.find("$PZTJRTE,")),
          "the end sentence not once and last, or a waypoint after the routes");
  return 0;
}
