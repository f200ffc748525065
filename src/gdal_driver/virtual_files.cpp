#include "gdal_driver/virtual_files.h"

#include <cpl_conv.h>
#include <cpl_vsi.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "files/file_routines.h"
#include "receiver/identify.h"

namespace carteloom::gdal {
namespace {

struct VsiClose {
  void operator()(VSILFILE* file) const { VSIFCloseL(file); }
};
using VsiFile = std::unique_ptr<VSILFILE, VsiClose>;

VsiFile OpenThroughGdal(const std::string& path, const char* mode) {
  VsiFile file(VSIFOpenL(path.c_str(), mode));
  if (!file) throw FileError(path, std::string("cannot be opened (") + VSIStrerror(errno) + ")");
  return file;
}

class VsiSource final : public ByteSource {
 public:
  explicit VsiSource(VsiFile file) : file_(std::move(file)) {}
  std::size_t Read(char* into, std::size_t size) override { return VSIFReadL(into, 1, size, file_.get()); }

 private:
  VsiFile file_;
};

}  // namespace

FieldReader FieldsThroughGdal(const std::string& path) {
  return FieldReader(path, std::make_unique<VsiSource>(OpenThroughGdal(path, "rb")));
}

bool StartsLikeReceiverFileThroughGdal(const std::string& path) {
  VsiFile file(VSIFOpenL(path.c_str(), "rb"));
  if (!file) return false;
  ReceiverStart start;
  char block[4096];
  for (;;) {
    const std::size_t got = VSIFReadL(block, 1, sizeof block, file.get());
    if (got == 0) return start.AtEnd();
    if (const std::optional<bool> verdict = start.Take({block, got})) return *verdict;
  }
}

// Some virtual file systems (/vsizip/) have folders only as parts of the
// names of their files: where one cannot be made, the files make it.
void MakeFolderThroughGdal(const std::string& path) {
  VSIStatBufL stat;
  if (VSIStatL(path.c_str(), &stat) != 0) VSIMkdirRecursive(path.c_str(), 0755);
  if (VSIStatL(path.c_str(), &stat) == 0 && !VSI_ISDIR(stat.st_mode)) throw FileError(path, "is no folder");
}

std::string LocalTargetFor(const std::string& target) {
  if (!IsVirtualPath(target)) return target;
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  return NarrowPath(folder / CPLGetFilename(CPLGenerateTempFilename("trekvane")));
}

void CopyToVirtualTarget(const std::string& local, const std::string& target) {
  struct Remove {
    const std::string& path;
    ~Remove() { std::remove(path.c_str()); }
  } removeLocal{local};
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(OpenFile(local, "rb"), &std::fclose);
  if (!in) throw FileError(local, "cannot be read back");
  VsiFile out = OpenThroughGdal(target, "wb");
  std::vector<char> block(1 << 16);
  for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), in.get())) > 0;)
    if (VSIFWriteL(block.data(), 1, got, out.get()) != got) throw FileError(target, "cannot be written");
  if (std::ferror(in.get())) throw FileError(local, "cannot be read back");
  if (VSIFCloseL(out.release()) != 0) throw FileError(target, "cannot be written");
}

}  // namespace carteloom::gdal
