#pragma once
// What the driver's layers share: receiver texts as GDAL wants them, and
// the reference system of every receiver file.
#include <exception>
#include <string>
#include <string_view>

#include <cpl_error.h>
#include <ogr_spatialref.h>

namespace carteloom::gdal {

// GBK names decoded to UTF-8 with GDAL's own recoder.
std::string Utf8OfGbk(std::string_view gbk);

// A new WGS 84 longitude/latitude reference, longitude first; the caller owns one reference.
OGRSpatialReference* NewWgs84();

// The OGR layer driver's messages name the file and the line.
void WarnAboutLine(const std::string& path, unsigned long long line, const std::string& what);

// An error as a CPLError in English, as GDAL's messages are: a FileError
// names its file and, where the core gives its reason in the user's
// language, says only what could not be done.
void ReportError(CPLErr level, CPLErrorNum number, const std::exception& error);

}  // namespace carteloom::gdal
