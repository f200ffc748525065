#include "receiver/identify.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "files/file_routines.h"
#include "files/paths.h"
#include "files/stop_request.h"
#include "receiver/records.h"

namespace carteloom {

std::optional<ReceiverFileKind> ReceiverKindOf(std::string_view path) {
  const std::string suffix = TypeSuffix(path);
  if (SameLetters(suffix, ".upt")) return ReceiverFileKind::Waypoints;
  if (SameLetters(suffix, ".log")) return ReceiverFileKind::TrackLog;
  if (SameLetters(suffix, ".rte")) return ReceiverFileKind::Routes;
  return std::nullopt;
}

std::optional<bool> ReceiverStart::Take(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  empty_ = false;
  if (head_.empty()) bytes.remove_prefix(std::min(bytes.size(), bytes.find_first_not_of(" \t\r\n")));
  head_.append(bytes.substr(0, kTagPrefix.size() - head_.size()));
  if (head_.size() < kTagPrefix.size()) return std::nullopt;
  return head_ == kTagPrefix;
}

bool StartsLikeReceiverFile(const std::string& path) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
  if (!file) throw FileError(path, ReasonForErrno(errno != 0 ? errno : ENOENT));
  ReceiverStart start;
  char block[4096];
  for (;;) {
    StopPoint();
    const std::size_t got = std::fread(block, 1, sizeof block, file.get());
    if (got == 0) {
      if (std::ferror(file.get())) throw FileError(path, ReasonForErrno(errno != 0 ? errno : EIO));
      return start.AtEnd();
    }
    if (const std::optional<bool> verdict = start.Take({block, got})) return *verdict;
  }
}

}  // namespace carteloom
