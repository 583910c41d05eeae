# Windows 7 SP1 is the oldest Windows the programs run on: after both are
# linked, the build lists what they import and fails on anything missing there
# (cmake/check-windows-imports.sh, over cmake/windows7-imports.txt).
if(WIN32 AND CMAKE_OBJDUMP AND TARGET tallowbrook AND TARGET tallowbrook-cli)
  set(tallowbrook_imports_listing ${PROJECT_BINARY_DIR}/windows-imports.txt)
  add_custom_command(
    OUTPUT ${tallowbrook_imports_listing}
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/check-windows-imports.sh ${CMAKE_OBJDUMP}
      ${PROJECT_SOURCE_DIR}/cmake/windows7-imports.txt ${tallowbrook_imports_listing}
      $<TARGET_FILE:tallowbrook> $<TARGET_FILE:tallowbrook-cli>
    DEPENDS tallowbrook tallowbrook-cli ${PROJECT_SOURCE_DIR}/cmake/check-windows-imports.sh
      ${PROJECT_SOURCE_DIR}/cmake/windows7-imports.txt
    COMMENT "Checking that the programs import only what Windows 7 SP1 has"
    VERBATIM)
  add_custom_target(tallowbrook_windows_imports ALL DEPENDS ${tallowbrook_imports_listing})
endif()
