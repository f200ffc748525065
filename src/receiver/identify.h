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

// Tells from the first bytes of a file, taken block by block, whether it
// starts like a receiver file (below).
class ReceiverStart {
 public:
  // The verdict once the bytes so far tell; nothing while more are needed.
  std::optional<bool> Take(std::string_view bytes);
  // The verdict at the end of the file.
  bool AtEnd() const { return empty_; }

 private:
  std::string head_;  // from the first byte that is no blank or line end
  bool empty_ = true;
};

// True when the file is empty (an empty receiver file) or its first bytes
// after blanks and line ends start a record ("$PZTJ"). Only the start is
// read, so a large file of another kind costs nothing. Throws FileError when
// the file cannot be read.
bool StartsLikeReceiverFile(const std::string& path);

}  // namespace carteloom
