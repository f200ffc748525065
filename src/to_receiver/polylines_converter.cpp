#include <algorithm>
#include <cstdint>
#include <string>

#include "formats/gbk_text.h"
#include "formats/number_text.h"
#include "formats/put_text.h"
#include "formats/sentence.h"
#include "to_receiver/converters.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {
namespace {

// Route sentences name the waypoints two at a time; an odd last one stands alone.
void WriteRouteSentences(OutputFile& out, std::string_view name, std::uint64_t vertices, std::uint64_t number) {
  constexpr std::size_t kFixed = 2 * 20 + 2 * kMaxGeneratedName + 32 + kSentenceFrame;
  const std::uint64_t count = (vertices + 1) / 2;
  std::uint64_t sentence = 1;
  for (std::uint64_t vertex = 1; vertex <= vertices; vertex += 2, ++sentence) {
    char* const start = out.Room(kFixed + name.size());
    char* p = PutIntegerText(PutText(start, "$PZTJRTE,"), count);
    *p++ = ',';
    p = PutIntegerText(p, sentence);
    p = PutText(PutText(PutText(p, ",c,1,"), name), ",");
    p = PutText(PutGeneratedWaypointName(p, vertex, number), ",a,");
    if (vertex < vertices) p = PutGeneratedWaypointName(p, vertex + 1, number);
    out.Advance(PutSentenceEnd(start, PutText(p, ",a")));
  }
}

}  // namespace

// The waypoints go out as they are read; the routes that name them must follow them all.
void RouteWriter::Write(const LayerObject& object) {
  constexpr std::uint64_t kProgressTop = 500;
  std::string routeName = object.named ? SentenceSafeName(object.name) : std::string(kUnnamedGbk);
  char waypointName[kMaxGeneratedName];
  std::size_t start = 0;
  for (std::size_t end : object.sectionEnds) {
    std::uint64_t number = routes_.size() + 1;
    for (std::size_t v = start; v < end; ++v) {
      const char* nameEnd = PutGeneratedWaypointName(waypointName, v - start + 1, number);
      WriteWaypointSentence(out_, object.vertices[v], kRouteWaypointAltitude,
                            std::string_view(waypointName, nameEnd - waypointName));
    }
    routes_.push_back({routeName, end - start});
    if (drivesProgress_)
      ui_.SetProgressValue(static_cast<int>(kProgressTop - std::min<std::uint64_t>(routes_.size(), kProgressTop)));
    start = end;
  }
}

void RouteWriter::Finish() {
  for (std::size_t m = 0; m < routes_.size(); ++m) WriteRouteSentences(out_, routes_[m].name, routes_[m].vertices, m + 1);
  out_.WriteLine(kEndSentence);
}

}  // namespace carteloom
