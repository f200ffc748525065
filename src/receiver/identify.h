#pragma once
// Which files are receiver files: the batch and the GDAL driver take the same.
#include <optional>
#include <string>
#include <string_view>

namespace carteloom {

enum class ReceiverFileKind { Waypoints, TrackLog, Routes };

// By the suffix of the path, ".upt", ".log" or ".rte" in any letter case:
// receivers' cards are FAT, where upper-case names are common.
std::optional<ReceiverFileKind> ReceiverKindOf(std::string_view path);

// True when the file is empty (an empty receiver file) or its first bytes
// after blanks and line ends start a record ("$PZTJ"). Only the start is
// read, so a large file of another kind costs nothing. Throws FileError when
// the file cannot be read.
bool StartsLikeReceiverFile(const std::string& path);

}  // namespace carteloom
