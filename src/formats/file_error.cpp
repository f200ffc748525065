#include "formats/file_error.h"

#include <cerrno>
#include <cstring>

namespace carteloom {

std::string ReasonForErrno(int error) {
  switch (error) {
    case ENOENT: return "文件或文件夹不存在";
    case EACCES:
    case EPERM: return "没有访问权限";
    case EISDIR: return "这是一个文件夹，不是文件";
    case ENOTDIR: return "路径中有一部分不是文件夹";
    case ENOSPC: return "磁盘空间不足";
    case EFBIG: return "文件超出了允许的大小";
    case EROFS: return "磁盘是只读的";
    case ENAMETOOLONG: return "文件名太长";
    case EINVAL: return "文件名无效";
    case EIO: return "读写设备出错";
    default: return std::strerror(error);
  }
}

}  // namespace carteloom
