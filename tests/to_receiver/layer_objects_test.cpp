// The objects of a layer read ahead on a second thread are the scanner's own,
// with the right MID rows, across many batches; stopping early ends the reading.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_receiver/layer_objects.h"

namespace carteloom::testing {
namespace {

std::string Describe(std::span<const MifVertex> points, std::span<const MifVertex> vertices,
                     std::span<const std::size_t> ends, bool named, std::string_view name) {
  std::string text(named ? name : std::string_view("-"));
  for (auto list : {points, vertices})
    for (const MifVertex& v : list) text.append(" ").append(std::to_string(v.x)).append(",").append(std::to_string(v.y));
  for (std::size_t end : ends) text.append(" |").append(std::to_string(end));
  return text;
}

TEST(LayerObjects, HandOutWhatTheScannerReads) {
  // Every kind of object, one Pline longer than a batch, fewer MID rows than objects.
  std::string mif = "Data\r\n", mid;
  for (int i = 0; i < 12000; ++i) {
    mif += i % 3 == 0 ? "Point " + std::to_string(i % 180) + " 1\r\n" : i % 3 == 1 ? "Pline Multiple 2\r\n 1\r\n1 2\r\n 2\r\n3 4\r\n5 6\r\n" : "Region 1\r\n 1\r\n0 0\r\n";
    if (i == 5000) {
      mif += "Multipoint 70000\r\n";
      for (int v = 0; v < 70000; ++v) mif += std::to_string(v % 180) + " 1\r\n";
    }
    if (i < 9000) mid += "\"name " + std::to_string(i) + "\",7\r\n";
  }
  std::vector<std::string> expected, got;
  MifScanner direct(mif), scanner(mif);
  MidReader directNames = MidReader::FromText(mid, ','), names = MidReader::FromText(mid, ',');
  MifObject object;
  for (std::string name; direct.Next(object);) {
    const bool named = directNames.NextRow(name);
    expected.push_back(Describe(object.points, object.vertices, object.sectionEnds, named, name));
  }
  LayerObjects layer(scanner, names);
  for (LayerObject item; layer.Next(item);)
    got.push_back(Describe(item.points, item.vertices, item.sectionEnds, item.named, item.name));
  EXPECT_EQ(got.size(), 12001u);
  EXPECT_EQ(got, expected);
}

TEST(LayerObjects, StoppingEarlyEndsTheReading) {
  std::string mif = "Data\r\n";
  for (int i = 0; i < 50000; ++i) mif += "Point 1 2\r\n";
  for (int taken : {0, 1, 4096, 20000}) {
    MifScanner scanner(mif);
    MidReader names = MidReader::FromText("", ',');
    LayerObjects layer(scanner, names);
    LayerObject item;
    for (int i = 0; i < taken; ++i) ASSERT_TRUE(layer.Next(item));
  }  // each destructor returns with the reader still busy
}

}  // namespace
}  // namespace carteloom::testing
