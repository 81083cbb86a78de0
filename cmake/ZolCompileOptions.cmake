# Warnings and code-generation flags for the project's own targets.
function(zol_target_options target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
      -Wcast-align -Wnull-dereference -Wimplicit-fallthrough
      # Some model calls are defined through a null object pointer; keep
      # the compiler from deleting those checks on the assumption that
      # `this` is never null.
      -fno-delete-null-pointer-checks)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # The null-object checks are deliberate. Calls inside a library to its
      # own exported functions go straight there and may be inlined (clang
      # does so by default): nothing replaces them from outside.
      target_compile_options(${target} PRIVATE -Wno-nonnull-compare -Wno-address -fno-semantic-interposition)
    else()
      target_compile_options(${target} PRIVATE -Wno-tautological-undefined-compare -Wno-undefined-bool-conversion)
    endif()
    if(ZOL_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# Shared libraries carry Windows' plain names there (ZOLXML.dll, not libZOLXML.dll).
function(zol_shared_library_names target)
  set_target_properties(${target} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  endif()
endfunction()
