#pragma once
// What both batches tell about their entries: the message about one file,
// kept as the reason in the entry's report, and the entries left unreached.
#include <cstddef>
#include <string>

#include "batch/batch_ui.h"

namespace carteloom {

// The reason of an entry that a batch ended before reaching.
inline constexpr const char* kNotReached = "没有转换：批处理已提前结束";

// Shows text about the entry's file and keeps it as the reason it was not converted.
void TellAboutEntry(BatchUi& ui, EntryReport& report, const std::string& text, const std::string& title);

// Why outputs cannot go into folder ("没有转换：输出文件夹 F 不存在", the
// same for every file, so that a front end can gather them); empty when
// they can.
std::string MissingFolderReason(const std::string& folder);
// Why an output that exists was left alone: "没有转换：输出文件 P 已存在".
std::string OutputExistsReason(const std::string& path);

// Reports the list's entries from index on as not reached.
void ReportNotReached(BatchUi& ui, std::size_t index);

}  // namespace carteloom
