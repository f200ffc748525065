// A route file is the same whether its route list stayed in memory or went
// on in a scratch file, wholly or in part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/output_file.h"
#include "receiver/writers.h"
#include "support/test_support.h"

namespace carteloom::testing {
namespace {

std::string RouteFile(const std::string& path, std::size_t routesHeld) {
  // Names of many lengths, none among them, and a section of one vertex.
  const std::vector<std::string> names = {"\xB5\xC0\xC2\xB7", "", std::string(300, 'x'), "R4"};
  const std::vector<Position> vertices = {{116.5, 39.9}, {-0.25, -33.125}, {10, 20}};
  OutputFile out(path);
  RouteWriter routes(out, routesHeld);
  for (int i = 0; i < 200; ++i) {
    const std::vector<std::size_t> ends = {1, static_cast<std::size_t>(1 + i % 3)};
    routes.Write({.points = {}, .vertices = std::span(vertices).first(ends.back()), .sectionEnds = ends,
                  .named = i % 5 != 4, .name = names[i % names.size()]});
  }
  routes.Finish();
  out.Commit();
  return ReadBytes(path);
}

TEST(RouteList, RoutesKeptInAScratchFileGiveTheSameFile) {
  ScratchFolder folder;
  const std::string inMemory = RouteFile(folder / "held.rte", RouteList::kHeldBytes);
  // 399 waypoints, 333 route sentences for 400 routes (the first of each object has a vertex), the end.
  EXPECT_EQ(Lines(inMemory).size(), 733u);
  EXPECT_NE(inMemory.find(",WPT001_400,a,"), std::string::npos);
  for (std::size_t held : {1, 100, 4000}) EXPECT_EQ(RouteFile(folder / "spilled.rte", held), inMemory) << held;
}

}  // namespace
}  // namespace carteloom::testing
