#pragma once
// The routes of a route file, a name and a count of vertices each, kept
// until every waypoint is written. Past a bound they go on in a scratch
// file, so that a layer of millions of line sections takes no more memory
// than one of a few.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace carteloom {

class RouteList {
 public:
  static constexpr std::size_t kHeldBytes = 1 << 20;
  // errorPath is the file named when the scratch file fails.
  explicit RouteList(std::string errorPath, std::size_t heldBytes = kHeldBytes);
  ~RouteList();
  RouteList(const RouteList&) = delete;
  RouteList& operator=(const RouteList&) = delete;

  // Throws FileError when the scratch file cannot be had or written.
  void Add(std::string_view name, std::uint64_t vertices);
  std::uint64_t Size() const { return size_; }

  // Goes back to the first route; Next() then gives them in the order added,
  // name valid until the next call, and false after the last. Throws FileError.
  void Rewind();
  bool Next(std::string_view& name, std::uint64_t& vertices);

 private:
  void Spill();
  [[noreturn]] void Fail() const;

  std::string errorPath_;
  std::size_t heldBytes_;
  std::uint64_t size_ = 0;
  std::string held_;  // records: vertices, name length (8 bytes each), name
  std::FILE* spilled_ = nullptr;  // the records before those held
  // Where Next() is: in the scratch file until it runs out, then in held_.
  bool readingSpilled_ = false;
  std::size_t heldAt_ = 0;
  std::string name_;
};

}  // namespace carteloom
