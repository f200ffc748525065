#include "batch/entry_report.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/file_routines.h"
#include "files/number_text.h"

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

std::string FileListText(const std::string& heading, const std::vector<std::string>& paths, std::size_t listed) {
  std::string text = heading;
  const std::size_t shown = std::min(paths.size(), listed);
  for (std::size_t i = 0; i < shown; ++i) text += "\n  " + PathInText(paths[i]);
  if (paths.size() > shown)
    text += "\n  ……另有 " + IntegerText(static_cast<std::int64_t>(paths.size() - shown)) + " 个文件";
  return text;
}

std::string EarlyEndText(const std::vector<std::string>& notConverted, std::size_t listed) {
  return FileListText("批处理已提前结束，以下文件没有转换：", notConverted, listed);
}

}  // namespace carteloom
