# SPDX-License-Identifier: Apache-2.0
# Optimised builds with GCC link the engine and the program whole (link-time optimisation):
# the engine's small calls across files (a reference's type, a context's document, a cell's
# lookup) can then be inlined, and virtual ones made direct where the type is known, as within
# one file; a whole calculation takes 7 to 9 % less. Objects stay fat, so that the tests and
# tools that link the static library link as they did, without the optimiser at each link.
set(OSTREL_LINK_WHOLE OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND NOT OSTREL_SANITIZE AND NOT OSTREL_FUZZ)
  include(CheckIPOSupported)
  check_ipo_supported(RESULT OSTREL_LINK_WHOLE LANGUAGES CXX)
endif()

# Targets whose link optimises across files; libraries among them keep fat objects.
function(ostrel_link_whole)
  if(NOT OSTREL_LINK_WHOLE)
    return()
  endif()
  foreach(target ${ARGN})
    set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(OBJECT|STATIC)_LIBRARY$")
      target_compile_options(${target} PRIVATE -ffat-lto-objects)
    endif()
  endforeach()
endfunction()
