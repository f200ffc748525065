#pragma once
// The geometry of a feature as the receiver writers take it: points become
// waypoints, each line (or part of a multi-line) a route, all in WGS 84
// longitude and latitude.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <ogr_geometry.h>
#include <ogr_spatialref.h>

#include "files/position.h"

namespace carteloom::gdal {

struct GeometryParts {
  std::vector<Position> points;
  std::vector<Position> vertices;
  std::vector<std::size_t> sectionEnds;  // into vertices, one per line
  // One per point and per vertex: its Z, NaN where the geometry has none.
  std::vector<double> pointHeights, vertexHeights;
  void Clear() {
    points.clear();
    vertices.clear();
    sectionEnds.clear();
    pointHeights.clear();
    vertexHeights.clear();
  }
};

// Geometries from a layer's reference system into WGS 84 longitude/latitude.
class ToWgs84 {
 public:
  // No transformation when source is null (taken as WGS 84) or is WGS 84 already.
  explicit ToWgs84(const OGRSpatialReference* source);
  // Empty when it can be done; otherwise why not.
  std::string Check() const { return problem_; }
  // The parts of geometry into parts (cleared first); empty, or why the
  // geometry cannot become waypoints and routes.
  std::string Parts(const OGRGeometry& geometry, GeometryParts& parts) const;

 private:
  std::unique_ptr<OGRCoordinateTransformation> transform_;
  std::string problem_;
};

}  // namespace carteloom::gdal
