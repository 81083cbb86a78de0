# Warnings and code-generation flags for the project's own targets.
function(zol_target_options target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
      -Wcast-align -Wnull-dereference -Wimplicit-fallthrough)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # Calls inside a library to its own exported functions go straight
      # there and may be inlined (clang does so by default): nothing replaces
      # them from outside.
      target_compile_options(${target} PRIVATE -fno-semantic-interposition)
    endif()
    if(ZOL_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# zol_null_object_sources(<target> <source>...): the sources of functions that may be
# called through a null object pointer and answer it. The compiler must not
# delete their checks on the assumption that `this` is never null, and the
# checks are deliberate.
function(zol_null_object_sources target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target} PROPERTIES
      COMPILE_OPTIONS "-fno-delete-null-pointer-checks;-Wno-nonnull-compare;-Wno-address")
  elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target} PROPERTIES
      COMPILE_OPTIONS "-fno-delete-null-pointer-checks;-Wno-tautological-undefined-compare;-Wno-undefined-bool-conversion")
  endif()
endfunction()

# Shared libraries carry Windows' plain names there (ZOLXML.dll, not libZOLXML.dll).
function(zol_shared_library_names target)
  set_target_properties(${target} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  endif()
endfunction()
