# thornbeck_include_root(TARGET NAME): TARGET's headers are included as "NAME/...". The include
# root TARGET exposes holds that one folder (a link to its sources) and nothing else, so a
# target reaches another's headers only by linking it: the core cannot include the window or
# the command line even by accident.
function(thornbeck_include_root target name)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
