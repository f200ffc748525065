#pragma once
// The three receiver-file converters. Each writes the MIF header, then the
// objects and one MID row per object; the batch commits or discards the
// outputs, so a converter never closes or renames anything.
#include <string>
#include <string_view>

#include "files/output_file.h"
#include "mif/mif_writing.h"
#include "receiver/field_reader.h"

namespace carteloom {

struct MifOutputs {
  OutputFile& mif;
  OutputFile& mid;
  std::string_view charset = kDefaultMifCharset;  // the header's Charset clause
};

// ".upt": one Point per waypoint record, its name as the MID row.
void ConvertWaypointFile(FieldReader& source, MifOutputs out);

// ".log": one Pline through the logged positions. Streams: the vertex count
// comes from a counting pass over sourcePath before the vertices are written.
void ConvertTrackLog(const std::string& sourcePath, FieldReader& source, MifOutputs out);

// ".rte": one Pline per route, drawn through the waypoint records in order.
void ConvertRouteFile(FieldReader& source, MifOutputs out);

}  // namespace carteloom
