# Windows resources for a program: its version information and, given ICON, its icon. Qt's
# windows platform gives every window the icon named IDI_ICON1, so the window needs no SVG
# plugin.
#   thornbeck_windows_resources(TARGET "Description" [ICON])
enable_language(RC)
find_program(THORNBECK_BASH bash REQUIRED)

function(thornbeck_windows_resources target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "ICON" "" "")
  set(THORNBECK_RC_NAME ${target})
  set(THORNBECK_RC_DESCRIPTION ${description})
  set(THORNBECK_RC_ICON "")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  if(arg_ICON)
    set(ico ${CMAKE_BINARY_DIR}/thornbeck.ico)
    if(NOT TARGET windows_icon)
      # The script calls both; found here so that a missing one stops the configure, not the build.
      find_program(THORNBECK_RSVG_CONVERT rsvg-convert REQUIRED)
      find_program(THORNBECK_ICOTOOL icotool REQUIRED)
      set(script ${PROJECT_SOURCE_DIR}/packaging/windows/make-icon.sh)
      add_custom_command(OUTPUT ${ico}
        COMMAND ${THORNBECK_BASH} ${script} ${PROJECT_SOURCE_DIR}/packaging/thornbeck.svg ${ico}
        DEPENDS ${script} ${PROJECT_SOURCE_DIR}/packaging/thornbeck.svg
        COMMENT "Drawing thornbeck.ico"
        VERBATIM)
      add_custom_target(windows_icon DEPENDS ${ico})
    endif()
    set(THORNBECK_RC_ICON "IDI_ICON1 ICON \"${ico}\"")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ico})
    add_dependencies(${target} windows_icon)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
