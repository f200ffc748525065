// Receiver files to MIF with damaged or hostile bytes: every file converts to a
// pair that holds together, and what can be read is read right.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "hardening/output_checks.h"
#include "to_mif/to_mif_batch.h"

namespace carteloom::testing {
namespace {

class DamagedReceiverFile : public ::testing::Test {
 protected:
  // Converts one source of the given name and bytes; the pair must be in place.
  PairShape Convert(const std::string& name, const std::string& bytes) {
    WriteBytes(scratch_ / name, bytes);
    ScriptedUi ui({scratch_ / name});
    ui.overwriteAnswers.assign(4, OverwriteAnswer::Overwrite);
    BatchResult result = RunToMifBatch(ui, scratch_.Path().string());
    EXPECT_EQ(result.converted, 1u) << name;
    EXPECT_TRUE(Messages(ui).empty()) << name << ": " << (Messages(ui).empty() ? "" : Messages(ui)[0]);
    std::string base = name.substr(0, name.size() - 4);
    PairShape shape = ShapeOfPair(scratch_ / (base + ".mif"), scratch_ / (base + ".mid"));
    EXPECT_EQ(shape.problem, "") << name;
    return shape;
  }
  std::string Mid(const std::string& base) { return ReadBytes(scratch_ / (base + ".mid")); }
  std::string Mif(const std::string& base) { return ReadBytes(scratch_ / (base + ".mif")); }

  ScratchFolder scratch_;
};

std::string Garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

TEST_F(DamagedReceiverFile, EmptyGarbageAndNulBytesGiveAConsistentPair) {
  for (const char* suffix : {".upt", ".log", ".rte"}) {
    SCOPED_TRACE(suffix);
    PairShape empty = Convert(std::string("empty") + suffix, "");
    EXPECT_EQ(empty.objects, 0u);
    EXPECT_EQ(Convert(std::string("format") + suffix, "$PZTJFMT,WGS84\r\n").objects, 0u);
    // Garbage that is mostly sentence-like: tags, commas and line ends among random bytes.
    std::string mixed;
    std::mt19937 random(11);
    const char* pieces[] = {"$PZTJWPL", "$PZTJRTE", "$PZTJFMT", "$PZTJCMD", ",", "\r\n", "\n", "\"", "3954.45", "S", "W"};
    for (int i = 0; i < 20000; ++i) mixed += random() % 3 ? pieces[random() % 11] : std::string(1, char(random()));
    Convert(std::string("mixed") + suffix, mixed);
  }
  // Bytes without a single record are no receiver file: refused, nothing written.
  WriteBytes(scratch_ / "garbage.upt", Garbage(3000, 7));
  ScriptedUi ui({scratch_ / "garbage.upt"});
  EXPECT_EQ(RunToMifBatch(ui, scratch_.Path().string()).converted, 0u);
  EXPECT_EQ(Messages(ui), std::vector<std::string>{"此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！"});
  EXPECT_EQ(ui.shown.at(0).title, kProgramTitle);
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "garbage.mif"));
  EXPECT_EQ(ui.sources.size(), 1u);

  // A NUL inside a name is part of the name: it reaches the MID unchanged.
  std::string name("WE\0LL", 5);
  Convert("with_nul.upt", "$PZTJWPL,3954.450,N,11623.483,E,0000000,M," + name + ",,a*45\r\n");
  EXPECT_EQ(Mid("with_nul"), name + "\r\n");
}

TEST_F(DamagedReceiverFile, AnUnterminatedQuoteRunsToTheEndOfTheFileAndNoFurther) {
  PairShape shape = Convert("quote.upt", CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45",
                                               "$PZTJWPL,3955.000,N,11624.000,E,0000000,M,\"OPEN,,a*00",
                                               "$PZTJWPL,3956.000,N,11625.000,E,0000000,M,LOST,,a*00"}));
  // The second name swallows the rest of the file; both points keep one row each.
  EXPECT_EQ(shape.objects, 2u);
  EXPECT_EQ(Mid("quote").substr(0, 8), "WELL01\r\n");
  EXPECT_NE(Mid("quote").find("OPEN"), std::string::npos);
}

TEST_F(DamagedReceiverFile, NumbersWithExponentsManyDigitsOrNone) {
  std::string manyZeros(300, '0');
  PairShape shape = Convert(
      "numbers.upt",
      CrLf({"$PZTJWPL,3954.450e5,N,11623.483E-2,E,0000000,M,EXP,,a*00",      // the exponent is not read
            "$PZTJWPL," + manyZeros + "3954.450000000000000000000001,N,11623.483,E,0,M,DIGITS,,a*00",
            "$PZTJWPL,,N,north,E,0000000,M,NONE,,a*00",                         // no number reads as 0
            "$PZTJWPL,-3954.450,N,+11623.483,E,0000000,M,SIGNS,,a*00"}));
  EXPECT_EQ(shape.objects, 4u);
  EXPECT_EQ(Mif("numbers").substr(Mif("numbers").find("Point")),
            CrLf({"Point  116.391383333333  39.9075", "Symbol (32,0,9)", "Point  116.391383333333  39.9075",
                  "Symbol (32,0,9)", "Point  0  0", "Symbol (32,0,9)", "Point  116.391383333333 -39.9075",
                  "Symbol (32,0,9)"}));
}

TEST_F(DamagedReceiverFile, CoordinatesOutOfRangeAreWrittenAsTheFileHoldsThem) {
  // A receiver never writes these; the pair still holds together and shows the values read.
  std::string huge(400, '9');
  PairShape shape = Convert("range.log", CrLf({"$GPRMC,9999.999,N,99999.999,E,1,2,3,4,5,6",
                                               "$GPRMC," + huge + ",N,1e999,E,1,2,3,4,5,6", "$PZTJCMD,END*3D"}));
  EXPECT_EQ(shape.objects, 1u);
  EXPECT_EQ(shape.vertices, 2u);
  EXPECT_NE(Mif("range").find(" 1000.66665  100.66665"), std::string::npos);
}

TEST_F(DamagedReceiverFile, AHugeLineWithoutSeparatorIsOneField) {
  // 100 MB in the release build; the sanitizer build reads a smaller one.
  const std::size_t size = kSanitized ? (8u << 20) : (100u << 20);
  std::string line = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,BEFORE,,a*45\r\n";
  line.append(size, 'x');
  line += "\r\n$PZTJWPL,3954.450,N,11623.483,E,0000000,M,AFTER,,a*45\r\n";
  auto start = std::chrono::steady_clock::now();
  PairShape shape = Convert("long.upt", line);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(shape.objects, 2u);
  EXPECT_EQ(Mid("long"), CrLf({"BEFORE", "AFTER"}));
  EXPECT_LT(seconds, kSanitized ? 30.0 : 5.0);
}

}  // namespace
}  // namespace carteloom::testing
