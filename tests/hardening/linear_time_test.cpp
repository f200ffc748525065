// No reader has a quadratic path: a megabyte of the most repetitive input
// each reader can meet converts in well under a second.
#include <gtest/gtest.h>

#include <chrono>

#include "hardening/output_checks.h"
#include "to_mif/to_mif_batch.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom::testing {
namespace {

constexpr std::size_t kMegabyte = 1 << 20;
// The worst of these write 20 MB or more of output; the sanitizer build runs
// several times slower and checks the shape of the time, not the time.
constexpr double kLimit = kSanitized ? 10.0 : 1.0;

std::string Repeated(const std::string& piece, std::size_t size = kMegabyte) {
  std::string text;
  text.reserve(size + piece.size());
  while (text.size() < size) text += piece;
  return text;
}

template <typename Run>
double SecondsOf(Run run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(LinearTime, ReceiverFiles) {
  const std::vector<std::string> pieces = {
      ",", "\n", "\"", "\",", "$PZTJWPL,", "$PZTJRTE,", "$PZTJFMT,", "$PZTJCMD,",
      "$PZTJWPL,3954.450,N,11623.483,E\n",                       // records cut short
      "$PZTJRTE,1,1,c,1,R,A,a,B,a\r\n$PZTJRTE,1,1,c,1,S,A,a,B,a\r\n",  // a new route every record
      "$PZTJRTE,1,1,c,1,SAME,A,a,B,a\r\n",                        // one route that goes on
  };
  ScratchFolder scratch;
  for (const std::string& piece : pieces) {
    std::string bytes = Repeated(piece);
    for (const char* suffix : {".upt", ".log", ".rte"}) {
      WriteBytes(scratch / (std::string("in") + suffix), bytes);
      ScriptedUi ui({scratch / (std::string("in") + suffix)});
      ui.overwriteAnswers.assign(2, OverwriteAnswer::Overwrite);
      // Without a single record the file is refused, after a look at every field.
      const bool records = piece.find("$PZTJ") != std::string::npos;
      double seconds = SecondsOf([&] { EXPECT_EQ(RunToMifBatch(ui, scratch.Path().string()).converted, records); });
      EXPECT_LT(seconds, kLimit) << suffix << " of " << piece;
      if (records) {
        EXPECT_EQ(ShapeOfPair(scratch / "in.mif", scratch / "in.mid").problem, "") << suffix << " of " << piece;
      }
    }
  }
}

TEST(LinearTime, MifAndMidFiles) {
  const std::string header = "Version 300\r\nDelimiter \",\"\r\nCoordSys Earth Projection 1, 104\r\n";
  struct Layer {
    std::string mif;
    std::string mid;
  };
  const std::vector<Layer> layers = {
      {header + "Data\r\n" + Repeated("Point\r\n"), Repeated("\"")},
      {header + "Data\r\n" + Repeated("Point 1 2\r\n"), Repeated(",")},
      {header + "Data\r\n" + Repeated("Pline\r\n"), Repeated("\n")},
      {header + "Data\r\n" + Repeated("Pline 99999999\r\n"), Repeated("\"\"")},
      {header + "Data\r\nPline Multiple 999999999\r\n" + Repeated("1\r\n"), "R\r\n"},
      {header + "Data\r\nPline 999999999\r\n" + Repeated("1 "), "R\r\n"},
      {header + "Data\r\n" + Repeated("Collection 999999999\r\n") + "Point 1 1\r\n", "R\r\n"},
      {header + "Data\r\n" + Repeated("Line 1 2 3\r\n"), ""},
      {header + "Data\r\nPline 1\r\n" + Repeated(" ") + "x\r\nPoint 1 1\r\n", ""},
      {header + "Columns 999999999\r\n" + Repeated("Data\r\n") + "Point 1 1\r\n", ""},
      {header + Repeated("Delimiter \"") + "\r\nData\r\nPoint 1 1\r\n", Repeated("a\"b")},
  };
  for (std::size_t i = 0; i < layers.size(); ++i) {
    ScratchFolder scratch;  // a long layer leaves hundreds of waypoint files
    WriteBytes(scratch / "in.mif", layers[i].mif);
    WriteBytes(scratch / "in.mid", layers[i].mid);
    ScriptedUi ui({scratch / "in.mif"});
    ui.overwriteAnswers.assign(8, OverwriteAnswer::Overwrite);
    double seconds = SecondsOf([&] { RunToReceiverBatch(ui, scratch.Path().string()); });
    EXPECT_LT(seconds, kLimit) << "layer " << i;
    for (const char* output : {"in.upt", "in.rte"})
      EXPECT_EQ(ReceiverFileProblem(ReadBytes(scratch / output)), "") << "layer " << i;
  }
}

}  // namespace
}  // namespace carteloom::testing
