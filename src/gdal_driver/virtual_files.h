#pragma once
// Files through GDAL's virtual file functions, so that /vsizip/, /vsimem/,
// /vsicurl/ ... paths are read as plain ones are, and virtual paths written.
#include <string>

#include "files/output_file.h"
#include "receiver/field_reader.h"

namespace carteloom::gdal {

// A path that only GDAL's virtual file functions reach.
inline bool IsVirtualPath(const std::string& path) { return path.rfind("/vsi", 0) == 0; }

// The fields of the file at path. Throws FileError when it cannot be opened.
FieldReader FieldsThroughGdal(const std::string& path);

// True for a receiver file (receiver/identify.h), read through GDAL; false
// when it cannot be read.
bool StartsLikeReceiverFileThroughGdal(const std::string& path);

// The folder at path, made where missing (with its parents); throws FileError.
void MakeFolderThroughGdal(const std::string& path);

// An output for target: the output file itself for a real path, which it
// replaces only when committed; for a virtual one a temporary file of the
// system's, copied to target by CopyToVirtualTarget once all are committed.
std::string LocalTargetFor(const std::string& target);
// Copies the committed local file to target and removes it; throws FileError.
void CopyToVirtualTarget(const std::string& local, const std::string& target);

}  // namespace carteloom::gdal
