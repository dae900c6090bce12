# What `cmake --install` puts beside the two programs on Linux and other free desktops, and
# the .deb that `cpack -G DEB` makes of it. The sample registry and the key descriptions are
# for the build folder only and are not installed.
include(GNUInstallDirs)

# The AppStream id, reverse of the homepage's domain; it names the desktop file and the icon.
set(THORNBECK_APP_ID "invalid.thornbeck.Thornbeck" CACHE STRING
    "Reverse-domain id of the application in menus and software centres")

set(THORNBECK_PACKAGING ${CMAKE_BINARY_DIR}/packaging)
configure_file(packaging/thornbeck.desktop.in
               ${THORNBECK_PACKAGING}/${THORNBECK_APP_ID}.desktop @ONLY)
configure_file(packaging/thornbeck.metainfo.xml.in
               ${THORNBECK_PACKAGING}/${THORNBECK_APP_ID}.metainfo.xml @ONLY)

# The man page and the completion come from the built program's --help texts.
find_program(THORNBECK_BASH bash REQUIRED)
set(THORNBECK_CLI_DOCS ${CMAKE_SOURCE_DIR}/packaging/cli-docs.sh)
foreach(kind IN ITEMS man completion)
  if(kind STREQUAL "man")
    set(output ${THORNBECK_PACKAGING}/thornbeck-cli.1)
  else()
    set(output ${THORNBECK_PACKAGING}/thornbeck-cli.bash)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${THORNBECK_BASH} ${THORNBECK_CLI_DOCS} ${kind} $<TARGET_FILE:thornbeck-cli>
            ${PROJECT_VERSION} ${output}
    DEPENDS thornbeck-cli ${THORNBECK_CLI_DOCS}
    COMMENT "Writing thornbeck-cli's ${kind} from its --help"
    VERBATIM)
  list(APPEND THORNBECK_CLI_DOC_FILES ${output})
endforeach()
add_custom_target(cli_docs ALL DEPENDS ${THORNBECK_CLI_DOC_FILES})

install(FILES ${THORNBECK_PACKAGING}/${THORNBECK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${THORNBECK_PACKAGING}/${THORNBECK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/thornbeck.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${THORNBECK_APP_ID}.svg)
install(FILES ${THORNBECK_PACKAGING}/thornbeck-cli.1 packaging/thornbeck.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${THORNBECK_PACKAGING}/thornbeck-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME thornbeck-cli)

# cpack -G DEB: the libraries' packages come from dpkg-shlibdeps; the SVG icon engine is a
# plugin Qt loads at run time, so no library names it and it is listed by hand.
set(CPACK_PACKAGE_NAME thornbeck)
set(CPACK_PACKAGE_VENDOR "Thornbeck")
set(CPACK_PACKAGE_CONTACT "Thornbeck developers <thornbeck@thornbeck.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for PlayStation 3 xRegistry.sys files")
set(CPACK_PACKAGE_DESCRIPTION
    "Thornbeck shows the settings in a dump of xRegistry.sys as a tree or a list, changes entries with every field checked, finds keys and values, exports CSV and saves byte for byte with a backup. thornbeck-cli does the same from the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${THORNBECK_HOMEPAGE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_STRIP_FILES ON)
include(CPack)
