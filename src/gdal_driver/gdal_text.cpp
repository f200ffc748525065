#include "gdal_driver/gdal_text.h"

#include <algorithm>

#include <cpl_error.h>
#include <cpl_string.h>

#include "files/file_routines.h"

namespace carteloom::gdal {

namespace {
bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
}  // namespace

std::string Utf8OfGbk(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  const std::string text(gbk);
  char* utf8 = CPLRecode(text.c_str(), "CP936", CPL_ENC_UTF8);
  std::string result(utf8 != nullptr ? utf8 : "");
  CPLFree(utf8);
  return result;
}

OGRSpatialReference* NewWgs84() {
  auto* srs = new OGRSpatialReference();
  srs->SetWellKnownGeogCS("WGS84");
  srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return srs;
}

void WarnAboutLine(const std::string& path, unsigned long long line, const std::string& what) {
  CPLError(CE_Warning, CPLE_AppDefined, "%s, line %llu: %s", path.c_str(), line, what.c_str());
}

void ReportError(CPLErr level, CPLErrorNum number, const std::exception& error) {
  const auto* file = dynamic_cast<const FileError*>(&error);
  if (file == nullptr) {
    CPLError(level, number, "%s", error.what());
    return;
  }
  const std::string reason = IsAscii(file->Reason()) ? file->Reason() : "cannot be read or written";
  CPLError(level, number, "%s: %s", file->Path().c_str(), reason.c_str());
}

}  // namespace carteloom::gdal
