#include "gdal_driver/feature_geometry.h"

#include <limits>

#include "files/number_text.h"
#include "gdal_driver/gdal_text.h"
#include "receiver/writers.h"

namespace carteloom::gdal {
namespace {

constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();

// Empty, or why the geometry holds what no receiver file can.
std::string Collect(const OGRGeometry& geometry, GeometryParts& parts) {
  switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbPoint: {
      const auto& point = *geometry.toPoint();
      if (point.IsEmpty()) return {};
      parts.points.push_back({point.getX(), point.getY()});
      parts.pointHeights.push_back(point.Is3D() ? point.getZ() : kNoHeight);
      return {};
    }
    case wkbLineString: {
      const auto& line = *geometry.toLineString();
      if (line.getNumPoints() == 0) return {};
      for (int i = 0; i < line.getNumPoints(); ++i) {
        parts.vertices.push_back({line.getX(i), line.getY(i)});
        parts.vertexHeights.push_back(line.Is3D() ? line.getZ(i) : kNoHeight);
      }
      parts.sectionEnds.push_back(parts.vertices.size());
      return {};
    }
    case wkbMultiPoint:
    case wkbMultiLineString:
    case wkbGeometryCollection:
      for (const OGRGeometry* member : *geometry.toGeometryCollection())
        if (std::string problem = Collect(*member, parts); !problem.empty()) return problem;
      return {};
    default:
      return std::string("a ") + OGRGeometryTypeToName(geometry.getGeometryType()) +
             " cannot become waypoints or routes (only points and lines can)";
  }
}

std::string OutOfRangeProblem(const std::vector<Position>& coordinates) {
  const auto wrong = FirstOutOfRange(coordinates);
  if (!wrong) return {};
  return wrong->longitude ? "longitude " + PlainNumberText(wrong->value) + " is not within -180..180"
                          : "latitude " + PlainNumberText(wrong->value) + " is not within -90..90";
}

}  // namespace

ToWgs84::ToWgs84(const OGRSpatialReference* source) {
  if (source == nullptr) return;
  OGRSpatialReference* wgs84 = NewWgs84();
  if (!source->IsSame(wgs84)) {
    OGRSpatialReference from(*source);
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    transform_.reset(OGRCreateCoordinateTransformation(&from, wgs84));
    if (!transform_) problem_ = "its spatial reference cannot be transformed to WGS 84";
  }
  wgs84->Release();
}

std::string ToWgs84::Parts(const OGRGeometry& geometry, GeometryParts& parts) const {
  parts.Clear();
  std::unique_ptr<OGRGeometry> transformed;
  const OGRGeometry* shape = &geometry;
  if (transform_) {
    transformed.reset(geometry.clone());
    if (transformed->transform(transform_.get()) != OGRERR_NONE) return "it cannot be transformed to WGS 84";
    shape = transformed.get();
  }
  if (std::string problem = Collect(*shape, parts); !problem.empty()) return problem;
  if (std::string problem = OutOfRangeProblem(parts.points); !problem.empty()) return problem;
  return OutOfRangeProblem(parts.vertices);
}

}  // namespace carteloom::gdal
