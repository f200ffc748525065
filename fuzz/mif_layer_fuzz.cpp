// MIF point layers to waypoint files, on arbitrary MIF and MID text: no
// point is lost, no file holds more than its share, every sentence is whole.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/output_file.h"
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

std::size_t PointObjects(const std::string& mif) {
  MifScanner scanner(mif);
  MifObject object;
  std::size_t points = 0;
  while (scanner.Next(object)) points += object.kind == MifObjectKind::Point ? 1 : 0;
  return points;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ClearScratch();
  MifInput input = SplitMifInput(data, size);
  MifScanner scanner(input.mif);
  MidReader names = MidReader::FromText(input.mid, scanner.Delimiter());
  FuzzUi ui;
  ScratchWaypointFiles files;
  Require(ConvertMifPoints(scanner, names, files, ui), "the conversion stopped though every file was had");
  files.CommitAll();

  std::size_t written = 0;
  for (std::size_t i = 0; i < files.Count(); ++i) {
    SentenceCounts counts = CheckReceiverFile(ReadFileBytes(ScratchWaypointFiles::PathOf(i)), "waypoint file");
    Require(counts.routes == 0 && counts.ends == 0, "a waypoint file holds other sentences");
    Require(counts.waypoints <= (i == 0 ? 499u : 500u), "a waypoint file holds too many waypoints");
    Require(i == 0 || counts.waypoints > 0, "an empty further waypoint file");
    Require(i + 1 == files.Count() || counts.waypoints == (i == 0 ? 499u : 500u), "a file split too early");
    written += counts.waypoints;
  }
  Require(written == PointObjects(input.mif), "waypoints written differ from the points of the layer");
  return 0;
}
