#include "to_mif/to_mif_batch.h"

#include <optional>

#include "batch/batch_runner.h"
#include "batch/entry_report.h"
#include "batch/output_naming.h"
#include "files/file_routines.h"
#include "files/number_text.h"
#include "files/paths.h"
#include "receiver/identify.h"
#include "to_mif/converters.h"

namespace carteloom {
namespace {

constexpr const char* kNotReceiverFile = "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！";

// One MIF/MID pair per receiver file; an entry that fails stays, and the batch goes on.
class ToMif final : public BatchDirection {
 public:
  ToMif(const std::string& folder, const ToMifOptions& options) : folder_(folder), options_(options) {}

  std::uint64_t InputBytes(const std::string& source) const override { return SizeOfFile(source); }
  EntryOutcome AfterFailure() const override { return EntryOutcome::Left; }
  std::string Summary(std::size_t converted) const override {
    return "共计 " + IntegerText(static_cast<std::int64_t>(converted)) +
           "个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！";
  }

  EntryOutcome Convert(BatchUi& ui, EntryReport& report, ReadProgress& progress) override {
    const std::string& source = report.source;
    const std::optional<ReceiverFileKind> kind = ReceiverKindOf(source);
    if (!kind) return Refuse(ui, report);
    RefuseFolder(source);  // before any question is asked
    if (!StartsLikeReceiverFile(source)) return Refuse(ui, report);
    if (std::string missing = MissingFolderReason(folder_); !missing.empty()) {
      TellAboutEntry(ui, report, missing, kMessageTitle);
      return EntryOutcome::Left;
    }
    FieldReader reader(source);
    NamingResult name = ConfirmOutputName(ui, source, folder_);
    if (name.outcome != NamingOutcome::Settled) {
      report.whyNot = OutputExistsReason(name.path);
      return EntryOutcome::Left;
    }
    reader.ReportTo(&progress);

    const std::string& mifPath = name.path;
    const std::string midPath = std::string(SourceStem(mifPath)) + ".mid";
    // A folder in place of the MID would fail only its own move, after the MIF had moved.
    RefuseFolder(mifPath);
    RefuseFolder(midPath);
    OutputFile mif(mifPath);
    OutputFile mid(midPath);
    MifOutputs out{mif, mid, options_.charset};
    switch (*kind) {
      case ReceiverFileKind::Waypoints: ConvertWaypointFile(reader, out); break;
      case ReceiverFileKind::TrackLog: ConvertTrackLog(source, reader, out); break;
      case ReceiverFileKind::Routes: ConvertRouteFile(reader, out); break;
    }
    // Both complete before either moves: a write that fails (a full disk, a
    // file-size limit) leaves the old pair as it was, not half replaced.
    OutputFile* pair[] = {&mid, &mif};
    CommitTogether(pair);
    report.outputs = {mifPath, midPath};
    return EntryOutcome::Converted;
  }

 private:
  static EntryOutcome Refuse(BatchUi& ui, EntryReport& report) {
    TellAboutEntry(ui, report, kNotReceiverFile, kProgramTitle);
    return EntryOutcome::Left;
  }

  const std::string& folder_;
  const ToMifOptions& options_;
};

}  // namespace

BatchResult RunToMifBatch(BatchUi& ui, const std::string& outputFolder, const ToMifOptions& options) {
  ToMif direction(outputFolder, options);
  return RunBatch(ui, direction);
}

}  // namespace carteloom
