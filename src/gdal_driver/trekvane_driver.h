#pragma once
// The GDAL vector driver "Trekvane": receiver waypoint files (.upt), track
// logs (.log) and route files (.rte), read into layers and written from any
// point and line layer. Built as the plugin ogr_Trekvane.so, which GDAL
// loads from GDAL_DRIVER_PATH.
#include <gdal_priv.h>

namespace carteloom::gdal {

// True for a receiver file, by the rule the batch follows (receiver/identify.h).
int IdentifyReceiverFile(GDALOpenInfo* info);
// The driver's open: the file's layers, or null (with a CPLError when it is ours but unreadable).
GDALDataset* OpenReceiverFile(GDALOpenInfo* info);

}  // namespace carteloom::gdal

// The one symbol the plugin exports: GDAL calls it when it loads the plugin.
extern "C" __attribute__((visibility("default"))) void GDALRegisterMe();
