// MIF polyline layers to route files, on arbitrary MIF and MID text: one
// waypoint per vertex, route sentences for every section, one end sentence last.
#include <cstdint>
#include <string>

#include "formats/output_file.h"
#include "formats/sentence.h"
#include "fuzz_support.h"
#include "fuzz_ui.h"
#include "mif_input.h"
#include "to_receiver/converters.h"

using namespace carteloom;
using namespace carteloom::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ClearScratch();
  MifInput input = SplitMifInput(data, size);

  // What the layer holds, read on its own.
  std::size_t vertices = 0;
  std::size_t routeSentences = 0;
  {
    MifScanner scanner(input.mif);
    MifObject object;
    while (scanner.Next(object)) {
      if (object.kind != MifObjectKind::Polyline) continue;
      std::size_t start = 0;
      for (std::size_t end : object.sectionEnds) {
        routeSentences += (end - start + 1) / 2;
        start = end;
      }
      vertices += object.vertices.size();
    }
  }

  MifScanner scanner(input.mif);
  MidReader names = MidReader::FromText(input.mid, scanner.Delimiter());
  FuzzUi ui;
  {
    OutputFile out(ScratchPath("B.rte"));
    ConvertMifPolylines(scanner, names, out, ui);
    out.Commit();
  }
  std::string bytes = ReadFileBytes(ScratchPath("B.rte"));
  SentenceCounts counts = CheckReceiverFile(bytes, "route file");
  Require(counts.waypoints == vertices, "waypoints differ from the vertices of the layer");
  Require(counts.routes == routeSentences, "route sentences differ from the sections of the layer");
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
