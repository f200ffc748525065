#include <algorithm>

#include "to_receiver/converters.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {

// The waypoints go out as they are read; the routes that name them must follow them all.
void RouteWriter::Write(const LayerObject& object) {
  std::size_t start = 0;
  for (std::size_t end : object.sectionEnds) {
    const std::uint64_t number = routes_.size() + 1;
    for (std::size_t v = start; v < end; ++v)
      WriteWaypointSentence(out_, object.vertices[v], kRouteWaypointAltitude,
                            [&](Sentence& name) { GeneratedName(name, v - start + 1, number); });
    routes_.push_back({object.named ? std::string(object.name) : std::string(kUnnamedGbk), end - start});
    start = end;
  }
}

// Route sentences name the waypoints two at a time; an odd last one stands alone.
void RouteWriter::Finish() {
  for (std::uint64_t number = 1; number <= routes_.size(); ++number) {
    const Route& route = routes_[number - 1];
    for (std::uint64_t vertex = 1; vertex <= route.vertices; vertex += 2) {
      Sentence sentence(out_, kRouteTag);
      sentence.Text(",").Number((route.vertices + 1) / 2).Text(",").Number(vertex / 2 + 1).Text(",c,1,");
      GeneratedName(sentence.Name(route.name).Text(","), vertex, number).Text(",a,");
      if (vertex < route.vertices) GeneratedName(sentence, vertex + 1, number);
      sentence.Text(",a").End();
    }
  }
  out_.WriteLine(kEndSentence);
}

}  // namespace carteloom
