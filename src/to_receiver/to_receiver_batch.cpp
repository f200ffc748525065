#include "to_receiver/to_receiver_batch.h"

#include <memory>
#include <set>
#include <vector>

#include "batch/batch_runner.h"
#include "batch/entry_report.h"
#include "batch/output_naming.h"
#include "files/file_routines.h"
#include "files/number_text.h"
#include "files/paths.h"
#include "to_receiver/layer_converter.h"
#include "to_receiver/layer_objects.h"

namespace carteloom {
namespace {

constexpr const char* kNotPointOrLineMif = "此文件不是一个有效的MapInfo单独点,线Mif文件,请检查！";
constexpr const char* kNotWgs84 = "该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!";

// BASE.mid beside BASE.mif; BASE.MID when only that one exists (files copied from Windows media).
std::string MidPathOf(const std::string& source) {
  std::string stem(SourceStem(source));
  std::string lower = stem + ".mid";
  std::string upper = stem + ".MID";
  return !PathExists(lower) && PathExists(upper) ? upper : lower;
}

EntryOutcome OutcomeOfNaming(NamingOutcome naming) {
  return naming == NamingOutcome::BatchEnded ? EntryOutcome::EndBatch : EntryOutcome::Left;
}

// The waypoint files of a layer in the output folder: the first under the
// settled name, further ones named after it (PartName). Each name goes
// through the overwrite dialogue. A finished file is closed, and all are
// moved into place together once the whole layer is converted, so that a
// layer refused halfway leaves no file behind.
class WaypointFilesInFolder : public WaypointFiles {
 public:
  WaypointFilesInFolder(BatchUi& ui, std::string folder) : ui_(ui), folder_(std::move(folder)) {}

  // Settles the first file's name and opens it; false when the user did not.
  bool Open(const std::string& baseName) {
    if (!OpenAs(baseName)) return false;
    firstName_ = naming_.baseName;
    return true;
  }
  OutputFile& Current() override { return *files_.back(); }
  bool StartNext() override {
    files_.back()->Close();
    return OpenAs(PartName(firstName_, files_.size() + 1));
  }
  // The files, for the commit that moves them into place together.
  void AddTo(std::vector<OutputFile*>& files) const {
    for (const auto& file : files_) files.push_back(file.get());
  }
  const NamingResult& LastNaming() const { return naming_; }

 private:
  bool OpenAs(const std::string& baseName) {
    NamingResult result = SettleOutputName(ui_, folder_, baseName, ".upt", kReceiverOverwriteDialog, claimed_);
    naming_ = result;
    if (result.outcome != NamingOutcome::Settled) return false;
    files_.push_back(std::make_unique<OutputFile>(result.path));
    claimed_.insert(ComparablePath(result.path));
    return true;
  }

  BatchUi& ui_;
  std::string folder_;
  std::string firstName_;  // the first file's settled name, which the further ones are named after
  NamingResult naming_{NamingOutcome::Settled, {}, {}};
  std::vector<std::unique_ptr<OutputFile>> files_;
  std::set<std::string> claimed_;  // their targets, as the file system compares them
};

// "Region 3 个，Text 1 个": the kinds that were passed over, in a fixed order.
std::string SkippedText(const MifSkippedCounts& skipped) {
  std::string text;
  for (std::size_t kind = 0; kind < skipped.size(); ++kind) {
    if (skipped[kind] == 0) continue;
    if (!text.empty()) text += "，";
    text.append(kMifSkippedKinds[kind]).append(" ").append(IntegerText(static_cast<std::int64_t>(skipped[kind])));
    text += " 个";
  }
  return text;
}

// Points go to the waypoint files, lines to the route file; each output
// settles its name before anything is written.
EntryOutcome ConvertLayer(BatchUi& ui, EntryReport& report, MifScanner& layer, MifLayerContents contents,
                          MidReader& names, const std::string& folder, ReadProgress& progress) {
  auto notSettled = [&](const NamingResult& naming) {
    report.whyNot = naming.outcome == NamingOutcome::BatchEnded ? "没有转换：没有输入新的文件名"
                                                              : OutputExistsReason(naming.path);
    return OutcomeOfNaming(naming.outcome);
  };
  const std::string baseName = BaseName(report.source);
  WaypointFilesInFolder waypoints(ui, folder);
  if (contents.points && !waypoints.Open(baseName)) return notSettled(waypoints.LastNaming());
  std::unique_ptr<OutputFile> routes;
  if (contents.lines) {
    NamingResult name = SettleOutputName(ui, folder, baseName, ".rte", kReceiverOverwriteDialog);
    if (name.outcome != NamingOutcome::Settled) return notSettled(name);
    routes = std::make_unique<OutputFile>(name.path);
  }
  if (!ConvertMifLayer(layer, names, contents.points ? &waypoints : nullptr, routes.get(), &progress))
    return notSettled(waypoints.LastNaming());
  // Every output complete before the first one moves: a failed write replaces nothing.
  std::vector<OutputFile*> outputs;
  waypoints.AddTo(outputs);
  if (routes) outputs.push_back(routes.get());
  CommitTogether(outputs);
  for (const OutputFile* output : outputs) report.outputs.push_back(output->Target());
  return EntryOutcome::Converted;
}

// One waypoint file or more and a route file per layer. A layer that is no
// WGS84 longitude/latitude, a missing MID or a failed write ends the batch:
// the layers after it are most likely alike.
class ToReceiver final : public BatchDirection {
 public:
  explicit ToReceiver(const std::string& folder) : folder_(folder) {}

  std::uint64_t InputBytes(const std::string& source) const override {
    return SizeOfFile(source) + SizeOfFile(MidPathOf(source));
  }
  EntryOutcome AfterFailure() const override { return EntryOutcome::EndBatch; }
  std::string Summary(std::size_t converted) const override {
    return "共计 " + IntegerText(static_cast<std::int64_t>(converted)) +
           "个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！";
  }

  EntryOutcome Convert(BatchUi& ui, EntryReport& report, ReadProgress& progress) override {
    const std::string& source = report.source;
    RefuseFolder(source);
    MifScanner layer(source);
    MifLayerContents contents = layer.Contents();
    if (!contents.points && !contents.lines) {
      TellAboutEntry(ui, report, kNotPointOrLineMif, kProgramTitle);
      return EntryOutcome::Refused;
    }
    if (!layer.DeclaresWgs84()) {
      TellAboutEntry(ui, report, kNotWgs84, kMessageTitle);
      return EntryOutcome::EndBatch;
    }
    if (std::string missing = MissingFolderReason(folder_); !missing.empty()) {
      TellAboutEntry(ui, report, missing, kMessageTitle);
      return EntryOutcome::EndBatch;
    }
    MidReader names(MidPathOf(source), layer.Delimiter());
    names.NamesIn(layer.Charset());
    EntryOutcome outcome = ConvertLayer(ui, report, layer, contents, names, folder_, progress);
    if (outcome != EntryOutcome::Converted) return outcome;
    std::string skipped = SkippedText(layer.Skipped());
    if (!skipped.empty())
      ui.ShowFileMessage(source, "有不能转换成航路点或航线的对象，已跳过：" + skipped + "。", kMessageTitle);
    if (names.ReplacedNames() > 0)
      ui.ShowFileMessage(source,
                         "有 " + IntegerText(static_cast<std::int64_t>(names.ReplacedNames())) +
                             " 个名称含有GBK无法表示的字符，已改为“?”。",
                         kMessageTitle);
    return outcome;
  }

 private:
  const std::string& folder_;
};

}  // namespace

BatchResult RunToReceiverBatch(BatchUi& ui, const std::string& outputFolder) {
  ToReceiver direction(outputFolder);
  return RunBatch(ui, direction);
}

}  // namespace carteloom
