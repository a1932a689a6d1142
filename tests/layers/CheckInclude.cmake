# Compiles a one-line file including HEADER against the include root ROOT and checks the outcome:
# EXPECT=found must compile; EXPECT=missing must fail because the header is not found (and the
# header must exist in the source tree, so the failure comes from the root, not from a typo).
#   cmake -DCOMPILER=... -DROOT=... -DHEADER=... -DEXPECT=found|missing -DSOURCE_DIR=...
#         -DWORK_DIR=... -P CheckInclude.cmake
foreach(argument COMPILER ROOT HEADER EXPECT SOURCE_DIR WORK_DIR)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "CheckInclude: ${argument} not given")
  endif()
endforeach()
if(NOT EXISTS "${SOURCE_DIR}/${HEADER}")
  message(FATAL_ERROR "CheckInclude: ${HEADER} is not in the source tree")
endif()

string(MAKE_C_IDENTIFIER "${ROOT}/${HEADER}" stem)
set(source "${WORK_DIR}/${stem}.cpp")
file(WRITE "${source}" "#include \"${HEADER}\"\n")
execute_process(
  COMMAND "${COMPILER}" -std=c++20 -fsyntax-only "-I${ROOT}" "${source}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)

if(EXPECT STREQUAL "found")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${HEADER} does not compile against ${ROOT}:\n${output}")
  endif()
elseif(EXPECT STREQUAL "missing")
  string(REPLACE "." "\\." pattern "${HEADER}")
  if(result EQUAL 0)
    message(FATAL_ERROR "${HEADER} compiles against ${ROOT}; that layer must not see it")
  elseif(NOT output MATCHES "${pattern}.*(No such file|file not found)")
    message(FATAL_ERROR "${HEADER} failed against ${ROOT} for another reason:\n${output}")
  endif()
else()
  message(FATAL_ERROR "CheckInclude: EXPECT is found or missing, not ${EXPECT}")
endif()
