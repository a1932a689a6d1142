# The folders are layers. Each target sees only the folders it may use: its include root in the
# build tree holds one link per such folder and nothing else, so `#include "plugin/..."` from a
# lower layer finds no file and the build fails.

# velmora_sees(<target> <folder>...): gives <target> an include root holding the folders named.
function(velmora_sees target)
  set(root "${CMAKE_BINARY_DIR}/layers/${target}")
  # Rebuilt on every configure, so a folder taken off the list is no longer reachable.
  file(REMOVE_RECURSE "${root}")
  foreach(folder IN LISTS ARGN)
    if(NOT IS_DIRECTORY "${CMAKE_SOURCE_DIR}/${folder}")
      message(FATAL_ERROR "velmora_sees(${target}): no folder ${folder}")
    endif()
    set(link "${root}/${folder}")
    get_filename_component(parent "${link}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${folder}" "${link}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE "${root}")
endfunction()

# The include root of a target, for the checks that compile against it.
function(velmora_include_root target out)
  set(${out} "${CMAKE_BINARY_DIR}/layers/${target}" PARENT_SCOPE)
endfunction()

# Shipping builds of the product are built for speed: -O3, and link-time optimisation so the
# per-sample stages, each in its own file, are inlined into the process loop and the signal
# stays in registers between them. Nothing that changes floating-point results (no fast-math):
# the output must be the same bits in every build. Debug, sanitized and fuzzing builds keep
# their own settings.
#
# The straight-line (SLP) vectoriser stays off: it pairs scalars that were just stored one at a
# time into 16-byte loads, which wait on store forwarding inside the per-sample chain. Where two
# lanes pay, the engine says so itself (engine/TwoLanes.h).
option(VELMORA_LTO "Link-time optimisation of the product in Release and RelWithDebInfo" ON)
set(VELMORA_SHIPPING_CONFIG "$<CONFIG:Release,RelWithDebInfo>")
set(VELMORA_SHIPPING_FLAGS -O3 -fno-tree-slp-vectorize CACHE STRING "Optimisation flags of shipping builds")
set(VELMORA_SHIPPING_OPTIONS "$<${VELMORA_SHIPPING_CONFIG}:${VELMORA_SHIPPING_FLAGS}>")
set(VELMORA_IPO OFF)
if(VELMORA_LTO AND NOT VELMORA_SANITIZE AND NOT VELMORA_FUZZ)
  include(CheckIPOSupported)
  check_ipo_supported(RESULT VELMORA_IPO LANGUAGES CXX)
endif()

# The 32-bit MinGW linker cannot mix the libraries' link-time code with plain objects: it reports
# inline functions of both as defined twice. There the libraries carry ordinary code as well (fat
# objects), and programs not optimised at link time (the tests) link that code instead.
if(VELMORA_IPO AND WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  list(APPEND VELMORA_SHIPPING_OPTIONS "$<${VELMORA_SHIPPING_CONFIG}:-ffat-lto-objects>")
  add_link_options(
    "$<$<NOT:$<BOOL:$<TARGET_PROPERTY:INTERPROCEDURAL_OPTIMIZATION_RELEASE>>>:-fno-lto>")
endif()

# Every target that links product code takes part, so the link sees the whole program.
function(velmora_optimise_link target)
  if(VELMORA_IPO)
    set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION_RELEASE ON
                                               INTERPROCEDURAL_OPTIMIZATION_RELWITHDEBINFO ON)
    # The optimisation level of the link step is the one that generates the code.
    target_link_options(${target} PRIVATE "${VELMORA_SHIPPING_OPTIONS}")
  endif()
endfunction()

# velmora_layer(<target> SOURCES <file>... LINKS <target>... SEES <folder>...): one product
# layer as a static library, built with the shipping flags.
function(velmora_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "SOURCES;LINKS;SEES")
  add_library(${target} STATIC ${layer_SOURCES})
  target_link_libraries(${target} PUBLIC ${layer_LINKS})
  target_compile_options(${target} PRIVATE "${VELMORA_SHIPPING_OPTIONS}")
  velmora_optimise_link(${target})
  velmora_sees(${target} ${layer_SEES})
endfunction()
