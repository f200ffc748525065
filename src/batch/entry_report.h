#pragma once
// What both batches tell about their entries: the message about one file,
// kept as the reason in the entry's report, the entries left unreached, and
// the lists of files a message names.
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

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

// How many files a box lists: one higher than the screen cannot be answered.
inline constexpr std::size_t kFilesListedInABox = 20;
inline constexpr std::size_t kAllFiles = std::numeric_limits<std::size_t>::max();

// heading, then each path on a line of its own, set in by two blanks, at
// most `listed` of them, then how many more there are.
std::string FileListText(const std::string& heading, const std::vector<std::string>& paths, std::size_t listed);

// What a batch that ended early says after the box that ended it: the
// entries it did not convert.
std::string EarlyEndText(const std::vector<std::string>& notConverted, std::size_t listed);

}  // namespace carteloom
