#include "to_mif/to_mif_batch.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "batch/batch_progress.h"
#include "batch/entry_report.h"
#include "files/file_routines.h"
#include "files/number_text.h"
#include "batch/output_naming.h"
#include "files/paths.h"
#include "files/stop_request.h"
#include "to_mif/converters.h"
#include "receiver/record_fields.h"

namespace carteloom {
namespace {

constexpr const char* kNotReceiverFile = "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！";

enum class FileKind { Waypoints, TrackLog, Routes };

std::optional<FileKind> KindOfSuffix(const std::string& suffix) {
  if (suffix == ".upt") return FileKind::Waypoints;
  if (suffix == ".log") return FileKind::TrackLog;
  if (suffix == ".rte") return FileKind::Routes;
  return std::nullopt;
}

// A receiver file is made of "$PZTJ" records; a file without any is
// something else, unless it holds nothing at all (an empty receiver file).
bool HoldsReceiverRecords(const std::string& source) {
  FieldReader reader(source);
  if (reader.AtEnd()) return true;
  while (!reader.AtEnd())
    if (reader.ReadField().starts_with(kTagPrefix)) return true;
  return false;
}

// Converts one entry; true when its MIF/MID pair is in place.
bool ConvertEntry(BatchUi& ui, EntryReport& report, const std::string& folder, const ToMifOptions& options,
                  BatchProgress& progress) {
  const std::string& source = report.source;
  std::optional<FileKind> kind = KindOfSuffix(TypeSuffix(source));
  if (!kind) {
    TellAboutEntry(ui, report, kNotReceiverFile, kProgramTitle);
    return false;
  }
  try {
    RefuseFolder(source);  // before any question is asked
    if (!HoldsReceiverRecords(source)) {
      TellAboutEntry(ui, report, kNotReceiverFile, kProgramTitle);
      return false;
    }
    if (std::string missing = MissingFolderReason(folder); !missing.empty()) {
      TellAboutEntry(ui, report, missing, kMessageTitle);
      return false;
    }
    FieldReader reader(source);
    NamingResult name = ConfirmOutputName(ui, source, folder);
    if (name.outcome != NamingOutcome::Settled) {
      report.whyNot = "没有转换：输出文件 " + name.path + " 已存在";
      return false;
    }
    reader.ReportTo(&progress);

    const std::string& mifPath = name.path;
    const std::string midPath = std::string(SourceStem(mifPath)) + ".mid";
    // A folder in place of the MID would fail only its own move, after the MIF had moved.
    RefuseFolder(mifPath);
    RefuseFolder(midPath);
    OutputFile mif(mifPath);
    OutputFile mid(midPath);
    MifOutputs out{mif, mid, options.charset};
    switch (*kind) {
      case FileKind::Waypoints: ConvertWaypointFile(reader, out); break;
      case FileKind::TrackLog: ConvertTrackLog(source, reader, out); break;
      case FileKind::Routes: ConvertRouteFile(reader, out); break;
    }
    // Both complete before either moves: a write that fails (a full disk, a
    // file-size limit) leaves the old pair as it was, not half replaced.
    OutputFile* pair[] = {&mid, &mif};
    CommitTogether(pair);
    report.outputs = {mifPath, midPath};
    return true;
  } catch (const FileError& error) {
    TellAboutEntry(ui, report, "没有转换：" + (error.Path() == source ? error.Reason() : std::string(error.what())),
                   kMessageTitle);
  } catch (const std::exception& error) {
    TellAboutEntry(ui, report, "没有转换：" + std::string(error.what()), kMessageTitle);
  }
  return false;
}

}  // namespace

BatchResult RunToMifBatch(BatchUi& ui, const std::string& outputFolder, const ToMifOptions& options) {
  BatchResult result;
  result.startCount = ui.SourceCount();
  std::vector<std::uint64_t> sizes;
  for (std::size_t i = 0; i < result.startCount; ++i) sizes.push_back(SizeOfFile(ui.SourceAt(i)));
  BatchProgress progress(ui, std::move(sizes));
  // Converted entries leave the list, so the position moves on only past
  // entries that stay.
  std::size_t position = 0;
  try {
    while (position < result.startCount && position < ui.SourceCount()) {
      ui.BetweenFiles();
      StopPoint();
      EntryReport report{ui.SourceAt(position), {}, {}};
      progress.StartEntry();
      const bool converted = ConvertEntry(ui, report, outputFolder, options, progress);
      progress.FinishEntry();
      if (converted) {
        ui.RemoveSourceAt(position);
        ++result.converted;
      } else {
        ++position;
      }
      ui.EntryFinished(report);
    }
  } catch (const BatchStopped&) {
    result.stopped = true;
    return result;
  }
  progress.Finish();
  ui.ShowSummary("共计 " + IntegerText(static_cast<std::int64_t>(result.converted)) +
                     "个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！",
                 kMessageTitle);
  return result;
}

}  // namespace carteloom
