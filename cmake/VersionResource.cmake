# tallowbrook_add_version_resource(TARGET DESCRIPTION text)
# Gives a Windows program its version information from cmake/version.rc.in,
# with the version of project() and the program's own name and description.
function(tallowbrook_add_version_resource target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESCRIPTION" "")
  set(TB_RESOURCE_NAME ${target})
  set(TB_RESOURCE_DESCRIPTION ${arg_DESCRIPTION})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
  target_link_libraries(${target} PRIVATE tallowbrook_version)
endfunction()
