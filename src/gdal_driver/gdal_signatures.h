#pragma once
// GDAL's virtual functions whose signatures changed between versions, so that
// one source builds against Debian 12's GDAL 3.6 and against current GDAL.
#include <gdal_version.h>

// GDAL 3.8: ICreateLayer takes a const spatial reference.
#if GDAL_VERSION_NUM >= GDAL_COMPUTE_VERSION(3, 8, 0)
#define CARTELOOM_CONST_SINCE_GDAL_3_8 const
#else
#define CARTELOOM_CONST_SINCE_GDAL_3_8
#endif

// GDAL 3.9: ICreateLayer takes a geometry field definition in place of the
// spatial reference and the geometry type; CreateField a const field definition.
#if GDAL_VERSION_NUM >= GDAL_COMPUTE_VERSION(3, 9, 0)
#define CARTELOOM_GDAL_ICREATELAYER_TAKES_GEOMETRY_FIELD 1
#define CARTELOOM_CONST_SINCE_GDAL_3_9 const
#else
#define CARTELOOM_CONST_SINCE_GDAL_3_9
#endif

// GDAL 3.12: the getters of layers and datasets (GetLayerDefn, TestCapability,
// GetLayerCount, GetLayer) are const and give const pointers.
#if GDAL_VERSION_NUM >= GDAL_COMPUTE_VERSION(3, 12, 0)
#define CARTELOOM_CONST_SINCE_GDAL_3_12 const
#else
#define CARTELOOM_CONST_SINCE_GDAL_3_12
#endif
