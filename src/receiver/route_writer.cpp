#include "receiver/writers.h"

#include "receiver/receiver_sentences.h"

namespace carteloom {

// The waypoints go out as they are read; the routes that name them must follow them all.
// A section may go on in the next piece of its object: its vertices so far are counted in openVertices_.
void RouteWriter::Write(const LayerObject& object) {
  if (!object.continued) openVertices_ = 0;
  std::size_t start = 0;
  auto writeVertices = [&](std::size_t end, std::uint64_t route) {
    for (std::size_t v = start; v < end; ++v) {
      char height[8];
      const std::string_view altitude = v < object.vertexHeights.size()
                                            ? AltitudeText(object.vertexHeights[v], kRouteWaypointAltitude, height)
                                            : kRouteWaypointAltitude;
      WriteWaypointSentence(out_, object.vertices[v], altitude,
                            [&](Sentence& name) { GeneratedName(name, openVertices_ + (v - start) + 1, route); });
    }
  };
  for (std::size_t end : object.sectionEnds) {
    writeVertices(end, routes_.Size() + 1);
    routes_.Add(object.named ? object.name : kUnnamedGbk, openVertices_ + end - start);
    openVertices_ = 0;
    start = end;
  }
  writeVertices(object.vertices.size(), routes_.Size() + 1);
  openVertices_ += object.vertices.size() - start;
}

// Route sentences name the waypoints two at a time; an odd last one stands alone.
void RouteWriter::Finish() {
  std::string_view name;
  std::uint64_t vertices = 0;
  routes_.Rewind();
  for (std::uint64_t number = 1; routes_.Next(name, vertices); ++number) {
    for (std::uint64_t vertex = 1; vertex <= vertices; vertex += 2) {
      Sentence sentence(out_, kRouteTag);
      sentence.Text(",").Number((vertices + 1) / 2).Text(",").Number(vertex / 2 + 1).Text(",c,1,");
      GeneratedName(sentence.Name(name).Text(","), vertex, number).Text(",a,");
      if (vertex < vertices) GeneratedName(sentence, vertex + 1, number);
      sentence.Text(",a").End();
    }
  }
  out_.WriteLine(kEndSentence);
}

}  // namespace carteloom
