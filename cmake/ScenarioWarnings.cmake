# Warnings for the project's own targets. -Werror only when asked for
# (SCENARIO_WERROR, which the test command turns on), so that any compiler or
# build type a user picks still builds.
function(scenario_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wconversion -Wsign-conversion)
  if(SCENARIO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
