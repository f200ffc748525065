#pragma once
// What the harnesses share: a RAM-backed scratch folder for the converters,
// which work on files, and the invariants every output of ours must keep.
// A broken invariant prints what broke and aborts, which libFuzzer reports
// as a crash with the input that caused it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace carteloom::fuzz {

[[noreturn]] void Fail(const std::string& what);
inline void Require(bool condition, const std::string& what) {
  if (!condition) Fail(what);
}

// A folder of this process, under $CARTELOOM_FUZZ_TMP or /dev/shm, removed at exit.
const std::string& ScratchFolder();
std::string ScratchPath(const std::string& name);
void WriteFileBytes(const std::string& path, std::string_view bytes);
std::string ReadFileBytes(const std::string& path);
// Removes every file the previous input left in the scratch folder.
void ClearScratch();

// The lines of a file we wrote, without their CR LF. Fails when a line
// lacks its CR LF or a CR or LF stands anywhere else.
std::vector<std::string_view> CrLfLines(std::string_view bytes, const std::string& what);

// A MIF/MID pair written by the receiver-to-MIF converters: the header,
// then Point, Pline and None objects only, every Pline count equal to the
// vertex lines after it and at least 2, every number a plain finite decimal,
// one MID row per object.
// Returns the number of objects.
std::size_t CheckOwnMif(std::string_view mif, std::string_view mid);

// A receiver file we wrote: every line a sentence with a valid checksum and
// the field count of its kind. Returns the count of each kind.
struct SentenceCounts {
  std::size_t waypoints = 0;
  std::size_t routes = 0;
  std::size_t ends = 0;
};
SentenceCounts CheckReceiverFile(std::string_view bytes, const std::string& what);

}  // namespace carteloom::fuzz
