# Header-only libraries of the host for a cross build. Only each library's own
# header folder is shown to the cross compiler, through a folder of links
# that holds nothing else: the host's include folder as a whole would put the
# host's C library headers before the target's.
set(SCENARIO_HOST_INCLUDE_DIR /usr/include CACHE PATH "Where the host keeps the header-only libraries")

# Makes `target` (e.g. CLI11::CLI11) show `folder` (e.g. CLI) of the host's
# include folder, which must hold `header`.
function(scenario_host_header_library target folder header)
  if(NOT EXISTS ${SCENARIO_HOST_INCLUDE_DIR}/${header})
    message(FATAL_ERROR "${target}: ${SCENARIO_HOST_INCLUDE_DIR}/${header} not found; "
      "scripts/install_deps.sh installs it")
  endif()
  set(shown ${PROJECT_BINARY_DIR}/host_headers)
  file(MAKE_DIRECTORY ${shown})
  file(CREATE_LINK ${SCENARIO_HOST_INCLUDE_DIR}/${folder} ${shown}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED)
  target_include_directories(${target} SYSTEM INTERFACE ${shown})
endfunction()
