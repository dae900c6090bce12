# What Windows users get, in one folder: thornbeck.exe, thornbeck-cli.exe, the key descriptions
# (read from beside the program), a short README and the licence. `cpack -G ZIP` packs it; the
# windows_installer target makes an NSIS installer of it (packaging/windows/thornbeck.nsi).
install(FILES tools/sample/xRegistry_info.txt DESTINATION .)
install(FILES packaging/windows/README.txt DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_PACKAGE_NAME thornbeck)
set(CPACK_PACKAGE_VENDOR "Thornbeck")
set(CPACK_PACKAGE_FILE_NAME thornbeck-${PROJECT_VERSION}-windows-x64)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installer packs a stripped install of the same files. It is made by NSIS's own script
# rather than CPack's, which has no choice between a per-user and a per-machine install.
find_program(THORNBECK_MAKENSIS makensis REQUIRED)
set(THORNBECK_INSTALLER ${CMAKE_BINARY_DIR}/thornbeck-${PROJECT_VERSION}-windows-x64-setup.exe)
set(stage ${CMAKE_BINARY_DIR}/installer-files)
set(nsi ${PROJECT_SOURCE_DIR}/packaging/windows/thornbeck.nsi)
add_custom_command(OUTPUT ${THORNBECK_INSTALLER}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage} --strip
  COMMAND ${THORNBECK_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DFILES=${stage}
          -DICON=${CMAKE_BINARY_DIR}/thornbeck.ico -DOUTFILE=${THORNBECK_INSTALLER} ${nsi}
  DEPENDS thornbeck thornbeck-cli windows_icon ${nsi} packaging/windows/README.txt LICENSE
          tools/sample/xRegistry_info.txt
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Making the installer with NSIS"
  VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${THORNBECK_INSTALLER})
