#pragma once
// What the driver's layers share: receiver texts as GDAL wants them, and
// the reference system of every receiver file.
#include <string>
#include <string_view>

#include <ogr_spatialref.h>

namespace carteloom::gdal {

// GBK names decoded to UTF-8 with GDAL's own recoder.
std::string Utf8OfGbk(std::string_view gbk);

// A new WGS 84 longitude/latitude reference, longitude first; the caller owns one reference.
OGRSpatialReference* NewWgs84();

// The OGR layer driver's messages name the file and the line.
void WarnAboutLine(const std::string& path, unsigned long long line, const std::string& what);

}  // namespace carteloom::gdal
