#pragma once
#include <stdexcept>
#include <string>

namespace carteloom {

// A file that could not be read or written: the path and the reason, in
// words a user can act on.
class FileError : public std::runtime_error {
 public:
  FileError(std::string path, std::string reason)
      : std::runtime_error(path + "：" + reason), path_(std::move(path)), reason_(std::move(reason)) {}
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// The reason for an errno value, in the program's language.
std::string ReasonForErrno(int error);

}  // namespace carteloom
