#include "batch/batch_runner.h"

#include <exception>
#include <vector>

#include "batch/batch_progress.h"
#include "batch/entry_report.h"
#include "files/file_routines.h"
#include "files/output_journal.h"
#include "files/stop_request.h"

namespace carteloom {
namespace {

// A stop request (BatchStopped) is no std::exception and passes through.
EntryOutcome ConvertEntry(BatchUi& ui, BatchDirection& direction, EntryReport& report, ReadProgress& progress) {
  try {
    return direction.Convert(ui, report, progress);
  } catch (const SourceNotConverted& error) {
    TellAboutEntry(ui, report, "没有转换：" + std::string(error.what()), kMessageTitle);
    return EntryOutcome::Left;
  } catch (const FileError& error) {
    // The box names the source already; another file is named in the reason.
    const std::string reason = error.Path() == report.source ? error.Reason() : std::string(error.what());
    TellAboutEntry(ui, report, "没有转换：" + reason, kMessageTitle);
  } catch (const std::exception& error) {
    TellAboutEntry(ui, report, "没有转换：" + std::string(error.what()), kMessageTitle);
  }
  // Unfinished outputs were discarded on the way out.
  return direction.AfterFailure();
}

}  // namespace

BatchResult RunBatch(BatchUi& ui, BatchDirection& direction) {
  BatchResult result;
  result.startCount = ui.SourceCount();
  ForgetRecoveredFolders();  // what a run that died since left behind is looked for again
  std::vector<std::uint64_t> sizes;
  for (std::size_t i = 0; i < result.startCount; ++i) sizes.push_back(direction.InputBytes(ui.SourceAt(i)));
  BatchProgress progress(ui, std::move(sizes));
  // Entries done with leave the list, so the position moves on only past entries that stay.
  std::size_t position = 0;
  try {
    while (position < result.startCount && position < ui.SourceCount()) {
      ui.BetweenFiles();
      StopPoint();
      EntryReport report{ui.SourceAt(position), {}, {}};
      progress.StartEntry();
      const EntryOutcome outcome = ConvertEntry(ui, direction, report, progress);
      progress.FinishEntry();
      if (outcome == EntryOutcome::Converted) ++result.converted;
      if (outcome == EntryOutcome::Converted || outcome == EntryOutcome::Refused)
        ui.RemoveSourceAt(position);
      else if (outcome == EntryOutcome::Left)
        ++position;
      ui.EntryFinished(report);
      if (outcome == EntryOutcome::EndBatch) {
        ReportNotReached(ui, position + 1);
        result.endedEarly = true;
        progress.Reset();
        return result;
      }
    }
  } catch (const BatchStopped&) {
    result.stopped = true;
    return result;
  }
  progress.Finish();
  ui.ShowSummary(direction.Summary(result.converted), kMessageTitle);
  return result;
}

}  // namespace carteloom
