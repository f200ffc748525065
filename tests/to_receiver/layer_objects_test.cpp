#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/file_error.h"
#include "mif_samples.h"
#include "to_receiver/layer_objects.h"

namespace carteloom {
namespace {

// An object as text, to compare what the read-ahead hands out with the scanner's own.
std::string Describe(std::span<const MifVertex> points, std::span<const MifVertex> vertices,
                     std::span<const std::size_t> ends, bool named, std::string_view name) {
  std::string text;
  if (named) text.append("[").append(name).append("]");
  for (const MifVertex& v : points) text.append(" P").append(std::to_string(v.x)).append(",").append(std::to_string(v.y));
  for (const MifVertex& v : vertices) text.append(" ").append(std::to_string(v.x)).append(",").append(std::to_string(v.y));
  for (std::size_t end : ends) text.append(" |").append(std::to_string(end));
  return text;
}

TEST(LayerObjects, HandsOutWhatTheScannerReadsAcrossManyBatches) {
  // Mixed objects, one Pline longer than a batch, and fewer MID rows than objects.
  std::vector<std::string> data;
  std::string mid;
  for (int i = 0; i < 12000; ++i) {
    if (i % 3 == 0) data.push_back("Point " + std::to_string(i % 180) + " " + std::to_string(-(i % 90)));
    if (i % 3 == 1) data.insert(data.end(), {"Pline Multiple 2", "  1", "1 2", "  2", "3 4", "5 6"});
    if (i % 3 == 2) data.insert(data.end(), {"Region 1", "  1", "0 0"});
    if (i == 5000) {
      data.push_back("Pline 70000");
      for (int v = 0; v < 70000; ++v) data.push_back(std::to_string(v % 180) + " 1");
    }
    if (i < 9000) mid += "\"name " + std::to_string(i) + "\",7\r\n";
  }
  const std::string mif = testing::MifText(data);

  std::vector<std::string> expected;
  MifScanner direct(mif);
  MidReader directNames = MidReader::FromText(mid, ',');
  MifObject object;
  std::string name;
  while (direct.Next(object)) {
    bool named = directNames.NextRow(name);
    expected.push_back(Describe(object.points, object.vertices, object.sectionEnds, named, name));
  }

  std::vector<std::string> got;
  MifScanner scanner(mif);
  MidReader names = MidReader::FromText(mid, ',');
  {
    LayerObjects layer(scanner, names);
    LayerObject item;
    while (layer.Next(item)) got.push_back(Describe(item.points, item.vertices, item.sectionEnds, item.named, item.name));
    EXPECT_FALSE(layer.Next(item));
  }
  ASSERT_EQ(got.size(), 12001u);
  EXPECT_EQ(got, expected);
}

TEST(LayerObjects, StoppingEarlyOrFailingEndsTheReading) {
  const std::string mif = testing::PointLayer(50000);
  for (int taken : {0, 1, 4096, 20000}) {
    MifScanner scanner(mif);
    MidReader names = MidReader::FromText("", ',');
    LayerObjects layer(scanner, names);
    LayerObject item;
    for (int i = 0; i < taken; ++i) ASSERT_TRUE(layer.Next(item));
  }  // each destructor must return with the reader still busy

  // A folder read as a MID file: the read fails, and Next() says so.
  testing::ScratchFolder folder;
  std::string path = folder.Path().string();
  try {
    MidReader names(path, ',');
    MifScanner scanner(mif);
    LayerObjects layer(scanner, names);
    LayerObject item;
    EXPECT_THROW(layer.Next(item), FileError);
    EXPECT_THROW(layer.Next(item), FileError);
  } catch (const FileError&) {
    GTEST_SKIP() << "a folder cannot be opened as a file here";
  }
}

}  // namespace
}  // namespace carteloom
