// Stopping early ends the reading ahead: the reader's thread may be busy.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_receiver/layer_objects.h"

namespace carteloom::testing {
namespace {

TEST(LayerObjects, StoppingEarlyEndsTheReading) {
  std::string mif = "Data\r\n";
  for (int i = 0; i < 50000; ++i) mif += "Point 1 2\r\n";
  for (int taken : {0, 1, 4096, 20000}) {
    MifScanner scanner = MifScanner::FromText(std::string(mif));
    MidReader names = MidReader::FromText("", ',');
    LayerObjects layer(scanner, names);
    LayerObject item;
    for (int i = 0; i < taken; ++i) ASSERT_TRUE(layer.Next(item));
  }  // each destructor returns with the reader still busy
}

}  // namespace
}  // namespace carteloom::testing
