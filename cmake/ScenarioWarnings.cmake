# Warnings for the project's own targets. -Werror only when asked for
# (SCENARIO_WERROR, which the test command turns on), so that any compiler or
# build type a user picks still builds.
function(scenario_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wconversion -Wsign-conversion)
  if(SCENARIO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # g++ 12 at -O3 warns of overlapping copies inside std::string's own
    # operator+ (a literal before a string); the copies do not overlap. The
    # warning stays shown, it just does not stop the build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
endfunction()
