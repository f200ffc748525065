#pragma once
// Whole-file reading and the existence test for output names.
#include <string>

namespace carteloom {

// Every byte of a regular file, in order. Throws FileError when the path
// names nothing, a folder, or a file that cannot be read.
std::string FileText(const std::string& path);

// True exactly when a regular file of that path exists; a folder, nothing,
// or a path that cannot be looked at gives false.
bool PathExists(const std::string& path);

}  // namespace carteloom
