# The product's version is project()'s in CMakeLists.txt and nothing else. From it this writes,
# into the build folder:
#   generated/VelmoraVersion.h  the about view's text;
#   generated/Version.rc        the Windows DLL's version resource (file properties);
#   version.txt                 the bare version, which scripts/package.sh names its archives by.
set(VELMORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/VelmoraVersion.h.in
               ${VELMORA_GENERATED_DIR}/VelmoraVersion.h @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "@PROJECT_VERSION@\n" @ONLY)
if(WIN32)
  set(VELMORA_VERSION_RESOURCE ${VELMORA_GENERATED_DIR}/Version.rc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.rc.in ${VELMORA_VERSION_RESOURCE} @ONLY)
endif()
