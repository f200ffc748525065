#include "receiver/route_list.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "files/file_routines.h"

namespace carteloom {
namespace {

constexpr std::size_t kHeader = 16;

void PutHeader(char* out, std::uint64_t vertices, std::uint64_t length) {
  std::memcpy(out, &vertices, 8);
  std::memcpy(out + 8, &length, 8);
}

void TakeHeader(const char* in, std::uint64_t& vertices, std::uint64_t& length) {
  std::memcpy(&vertices, in, 8);
  std::memcpy(&length, in + 8, 8);
}

}  // namespace

RouteList::RouteList(std::string errorPath, std::size_t heldBytes)
    : errorPath_(std::move(errorPath)), heldBytes_(heldBytes) {}

RouteList::~RouteList() {
  if (spilled_ != nullptr) std::fclose(spilled_);
}

void RouteList::Fail() const { throw FileError(errorPath_, ReasonForErrno(errno != 0 ? errno : EIO)); }

void RouteList::Add(std::string_view name, std::uint64_t vertices) {
  const std::size_t at = held_.size();
  held_.resize(at + kHeader + name.size());
  PutHeader(held_.data() + at, vertices, name.size());
  if (!name.empty()) std::memcpy(held_.data() + at + kHeader, name.data(), name.size());
  ++size_;
  if (held_.size() >= heldBytes_) Spill();
}

void RouteList::Spill() {
  errno = 0;
  if (spilled_ == nullptr && (spilled_ = OpenScratchFile()) == nullptr) Fail();
  if (std::fwrite(held_.data(), 1, held_.size(), spilled_) != held_.size()) Fail();
  held_.clear();
}

void RouteList::Rewind() {
  errno = 0;
  readingSpilled_ = spilled_ != nullptr;
  if (readingSpilled_ && std::fseek(spilled_, 0, SEEK_SET) != 0) Fail();
  heldAt_ = 0;
}

bool RouteList::Next(std::string_view& name, std::uint64_t& vertices) {
  std::uint64_t length = 0;
  if (readingSpilled_) {
    char header[kHeader];
    errno = 0;
    const std::size_t got = std::fread(header, 1, kHeader, spilled_);
    if (got == kHeader) {
      TakeHeader(header, vertices, length);
      name_.resize(length);
      if (std::fread(name_.data(), 1, name_.size(), spilled_) != name_.size()) Fail();
      name = name_;
      return true;
    }
    if (got != 0 || std::ferror(spilled_)) Fail();
    readingSpilled_ = false;
  }
  if (heldAt_ == held_.size()) return false;
  TakeHeader(held_.data() + heldAt_, vertices, length);
  name = std::string_view(held_).substr(heldAt_ + kHeader, length);
  heldAt_ += kHeader + length;
  return true;
}

}  // namespace carteloom
