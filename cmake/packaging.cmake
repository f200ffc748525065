# `cpack` in a build folder makes a Debian package of what `cmake --install`
# installs: the two programs in /usr/bin and the GDAL driver in GDAL's plugin
# folder, so that GDAL's programs and QGIS find the format with no setting.
# Its dependencies come from the libraries the three link (dpkg-shlibdeps), so
# it asks for the GDAL the driver was built against.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME carteloom)
set(CPACK_PACKAGE_VENDOR Carteloom)
set(CPACK_PACKAGE_CONTACT "Carteloom developers <carteloom@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Converts Trekvane receiver files (.upt, .log, .rte) to and from MapInfo MIF, with a GDAL driver")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
