#include "to_mif/to_mif_batch.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "formats/file_routines.h"
#include "formats/number_text.h"
#include "formats/output_naming.h"
#include "formats/paths.h"
#include "to_mif/converters.h"
#include "to_mif/record_fields.h"

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

// The message for an entry that was not converted: the entry, then what
// went wrong and with which file when that is not the entry itself.
std::string NotConverted(const std::string& source, const std::string& reason) {
  return "文件 " + source + " 没有转换：" + reason;
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
bool ConvertEntry(BatchUi& ui, const std::string& source, const std::string& folder, const ToMifOptions& options) {
  std::optional<FileKind> kind = KindOfSuffix(TypeSuffix(source));
  if (!kind) {
    ui.ShowMessage(kNotReceiverFile, kProgramTitle);
    return false;
  }
  try {
    RefuseFolder(source);  // before any question is asked
    if (!HoldsReceiverRecords(source)) {
      ui.ShowMessage(kNotReceiverFile, kProgramTitle);
      return false;
    }
    FieldReader reader(source);
    NamingResult name = ConfirmOutputName(ui, source, folder);
    if (name.outcome != NamingOutcome::Settled) return false;

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
    mif.Close();
    mid.Close();
    mid.Commit();
    mif.Commit();
    return true;
  } catch (const FileError& error) {
    ui.ShowMessage(NotConverted(source, error.Path() == source ? error.Reason() : error.what()), kMessageTitle);
  } catch (const std::exception& error) {
    ui.ShowMessage(NotConverted(source, error.what()), kMessageTitle);
  }
  return false;
}

}  // namespace

BatchResult RunToMifBatch(BatchUi& ui, const std::string& outputFolder, const ToMifOptions& options) {
  BatchResult result;
  result.startCount = ui.SourceCount();
  // Converted entries leave the list, so the position moves on only past
  // entries that stay.
  std::size_t position = 0;
  while (position < result.startCount && position < ui.SourceCount()) {
    ui.BetweenFiles();
    if (ConvertEntry(ui, ui.SourceAt(position), outputFolder, options)) {
      ui.RemoveSourceAt(position);
      ++result.converted;
    } else {
      ++position;
    }
  }
  ui.ShowSummary("共计 " + IntegerText(static_cast<std::int64_t>(result.converted)) +
                     "个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！",
                 kMessageTitle);
  return result;
}

}  // namespace carteloom
