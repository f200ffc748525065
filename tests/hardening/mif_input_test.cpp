// MIF/MID pairs with damaged or hostile bytes to receiver files: a layer is
// converted or refused with its message, and every sentence written is whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "hardening/output_checks.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom::testing {
namespace {

const std::string kHeader = CrLf({"Version 300", "Charset \"Neutral\"", "Delimiter \",\"",
                                  "CoordSys Earth Projection 1, 104", "Columns 1", "  Name Char(20)", "Data"});

class DamagedLayer : public ::testing::Test {
 protected:
  // Converts layer.mif (with layer.mid when mid has a value); the messages shown.
  std::vector<std::string> Convert(const std::string& mif, const std::string& mid) {
    WriteBytes(scratch_ / "layer.mif", mif);
    WriteBytes(scratch_ / "layer.mid", mid);
    ScriptedUi ui({scratch_ / "layer.mif"});
    ui.overwriteAnswers.assign(8, OverwriteAnswer::Overwrite);
    RunToReceiverBatch(ui, scratch_.Path().string());
    for (const char* output : {"layer.upt", "layer.rte"})
      EXPECT_EQ(ReceiverFileProblem(ReadBytes(scratch_ / output)), "") << output;
    return Messages(ui);
  }
  std::string Upt() { return ReadBytes(scratch_ / "layer.upt"); }
  std::string Rte() { return ReadBytes(scratch_ / "layer.rte"); }

  ScratchFolder scratch_;
};

const std::string kRefused = "此文件不是一个有效的MapInfo单独点,线Mif文件,请检查！";

TEST_F(DamagedLayer, EmptyAndGarbageLayersAreRefusedOrConvertWhole) {
  EXPECT_EQ(Convert("", ""), std::vector<std::string>{kRefused});
  EXPECT_EQ(Convert(kHeader, ""), std::vector<std::string>{kRefused});
  EXPECT_EQ(FolderEntries(scratch_.Path().string()), (std::vector<std::string>{"layer.mid", "layer.mif"}));

  std::mt19937 random(5);
  std::string garbage(256 * 1024, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  EXPECT_EQ(Convert(garbage, garbage), std::vector<std::string>{kRefused});

  // Keywords among garbage: whatever is read is written as whole sentences.
  const char* pieces[] = {"Point ", "Pline ", "Line ", "Multiple ", "Collection ", "Region ", "\r\n", "\n", " ",
                          "\"", ",", "-", "1e308 ", "116.5 ", "39.9 ", "3 ", "Data\r\n"};
  std::string mixed = kHeader;
  std::string mid;
  for (int i = 0; i < 30000; ++i) {
    mixed += random() % 4 ? pieces[random() % 17] : std::string(1, char(random()));
    mid += random() % 4 ? pieces[random() % 17] : std::string(1, char(random()));
  }
  Convert(mixed, mid);
  Convert("Pline" + mixed, mid);  // the same bytes as a polyline layer
}

TEST_F(DamagedLayer, QuotedNamesRunAcrossLinesAndNulBytesStayInTheirRow) {
  std::string nulName("WE\0LL", 5);
  EXPECT_TRUE(Convert(kHeader + CrLf({"Point 116.39139 39.9075", "Point 116.39139 39.9075", "Point 116.39139 39.9075",
                                      "Point 116.39139 39.9075"}),
                      CrLf({"\"Main St,", "north\",\"2\r\nlines\"", nulName, "\"A \"\"B\"\"\",2", "\"OPEN, never closed", "X"}))
                  .empty());
  EXPECT_EQ(Upt(), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,Main St_ north,,a*6A",
                         "$PZTJWPL,3954.450,N,11623.483,E,0000000,M," + nulName + ",,a*44",
                         "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,A \"B\",,a*75",
                         "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,OPEN_ never closed X ,,a*3D"}));
}

TEST_F(DamagedLayer, NumbersWithExponentsManyDigitsOrNone) {
  EXPECT_TRUE(Convert(kHeader + CrLf({"Point 1.1639139e2 3.99075E1", "Point 116.3913900000000000000000001 39.9075",
                                      "Point east north", "Point", "Point 116.39139"}),
                      CrLf({"EXP", "DIGITS", "NONE", "EMPTY", "HALF"}))
                  .empty());
  EXPECT_EQ(Upt(), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,EXP,,a*1B",
                         "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,DIGITS,,a*52",
                         "$PZTJWPL,0000.000,N,00000.000,E,0000000,M,NONE,,a*5E",
                         "$PZTJWPL,0000.000,N,00000.000,E,0000000,M,EMPTY,,a*01",
                         "$PZTJWPL,0000.000,N,11623.483,E,0000000,M,HALF,,a*5F"}));
}

TEST_F(DamagedLayer, CoordinatesThatAreNoLongitudeOrLatitudeRefuseTheLayer) {
  // Metres under a WGS84 header, an absurd number: the file, the object and the value are named.
  const std::string refused = "文件 " + (scratch_ / "layer.mif") + " 没有转换：";
  EXPECT_EQ(Convert(kHeader + CrLf({"Point 116 39", "Pline 3", "1 2", "614452013.2 740464843.2", "3 4"}), ""),
            std::vector<std::string>{refused + "第 2 个对象的经度 614452013.2 不在 -180 到 180 之间，该文件的坐标不是经纬度"});
  EXPECT_EQ(Convert(kHeader + CrLf({"Point 180 -90.5"}), ""),
            std::vector<std::string>{refused + "第 1 个对象的纬度 -90.5 不在 -90 到 90 之间，该文件的坐标不是经纬度"});
  EXPECT_EQ(Convert(kHeader + CrLf({"Point -180 90", "Line 1 2 1e308 3"}), "").size(), 1u);
  EXPECT_EQ(FolderEntries(scratch_.Path().string()), (std::vector<std::string>{"layer.mid", "layer.mif"}));
}

TEST_F(DamagedLayer, AHugeLineWithoutSeparatorIsSkipped) {
  const std::size_t size = kSanitized ? (8u << 20) : (100u << 20);
  std::string mif = kHeader + "Point 116.39139 39.9075\r\n";
  mif.append(size, 'x');
  mif += "\r\nPoint 116.39139 39.9075\r\n";
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(Convert(mif, CrLf({"BEFORE", "AFTER"})).empty());
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(Upt(), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,BEFORE,,a*4F",
                         "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,AFTER,,a*12"}));
  EXPECT_LT(seconds, kSanitized ? 30.0 : 5.0);
}

}  // namespace
}  // namespace carteloom::testing
