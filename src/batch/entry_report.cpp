#include "batch/entry_report.h"

#include <filesystem>
#include <system_error>

#include "files/file_routines.h"

namespace carteloom {

void TellAboutEntry(BatchUi& ui, EntryReport& report, const std::string& text, const std::string& title) {
  ui.ShowFileMessage(report.source, text, title);
  report.whyNot = text;
}

std::string MissingFolderReason(const std::string& folder) {
  std::error_code ec;
  if (std::filesystem::is_directory(NativePath(folder), ec)) return {};
  return "没有转换：输出文件夹 " + PathInText(folder) + " 不存在";
}

std::string OutputExistsReason(const std::string& path) { return "没有转换：输出文件 " + PathInText(path) + " 已存在"; }

void ReportNotReached(BatchUi& ui, std::size_t index) {
  for (; index < ui.SourceCount(); ++index) ui.EntryFinished({ui.SourceAt(index), {}, kNotReached});
}

}  // namespace carteloom
