# Warnings are errors in our own code. Applied per target so that Qt's and
# GoogleTest's headers (pulled in as system includes) are not affected.
function(fulgor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # GCC 12 at -O3 (the Release build) reports overlapping copies inside
  # std::string's own inlined appends that cannot happen, a known false alarm:
  # shown as warnings there, so that a Release build is not refused for them.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
endfunction()

# A pure library: plain C++ over the standard library, never Qt.
function(fulgor_pure_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  fulgor_warnings(${name})
endfunction()
