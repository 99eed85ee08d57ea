# Warnings are errors in our own code. Applied per target so that Qt's and
# GoogleTest's headers (pulled in as system includes) are not affected.
function(fulgor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A pure library: plain C++ over the standard library, never Qt.
function(fulgor_pure_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  fulgor_warnings(${name})
endfunction()
