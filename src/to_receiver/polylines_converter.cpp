#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/gbk_text.h"
#include "formats/number_text.h"
#include "formats/put_text.h"
#include "formats/sentence.h"
#include "to_receiver/converters.h"
#include "to_receiver/layer_objects.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {
namespace {

struct Route {
  std::string name;  // safe for the sentence
  std::uint64_t vertices;
};

// Route sentences name the waypoints two at a time; an odd last one stands alone.
void WriteRoute(OutputFile& out, const Route& route, std::uint64_t number) {
  constexpr std::size_t kFixed = 2 * 20 + 2 * kMaxGeneratedName + 32 + kSentenceFrame;
  const std::uint64_t count = (route.vertices + 1) / 2;
  std::uint64_t sentence = 1;
  for (std::uint64_t vertex = 1; vertex <= route.vertices; vertex += 2, ++sentence) {
    char* const start = out.Room(kFixed + route.name.size());
    char* p = PutIntegerText(PutText(start, "$PZTJRTE,"), count);
    *p++ = ',';
    p = PutIntegerText(p, sentence);
    p = PutText(PutText(PutText(p, ",c,1,"), route.name), ",");
    p = PutText(PutGeneratedWaypointName(p, vertex, number), ",a,");
    if (vertex < route.vertices) p = PutGeneratedWaypointName(p, vertex + 1, number);
    out.Advance(PutSentenceEnd(start, PutText(p, ",a")));
  }
}

}  // namespace

void ConvertMifPolylines(MifScanner& objects, MidReader& names, OutputFile& out, BatchUi& ui) {
  constexpr std::uint64_t kProgressTop = 500;
  // The waypoints go out as they are read; the routes that name them must follow them all.
  std::vector<Route> routes;
  LayerObjects layer(objects, names);
  LayerObject object;
  char waypointName[kMaxGeneratedName];
  while (layer.Next(object)) {
    if (object.kind != MifObjectKind::Polyline) continue;
    std::string routeName = object.named ? SentenceSafeName(object.name) : std::string(kUnnamedGbk);
    std::size_t start = 0;
    for (std::size_t end : object.sectionEnds) {
      std::uint64_t number = routes.size() + 1;
      for (std::size_t v = start; v < end; ++v) {
        const char* nameEnd = PutGeneratedWaypointName(waypointName, v - start + 1, number);
        WriteWaypointSentence(out, object.vertices[v], kRouteWaypointAltitude,
                              std::string_view(waypointName, nameEnd - waypointName));
      }
      routes.push_back({routeName, end - start});
      ui.SetProgressValue(static_cast<int>(kProgressTop - std::min<std::uint64_t>(routes.size(), kProgressTop)));
      start = end;
    }
  }
  for (std::size_t m = 0; m < routes.size(); ++m) WriteRoute(out, routes[m], m + 1);
  out.WriteLine(kEndSentence);
}

}  // namespace carteloom
