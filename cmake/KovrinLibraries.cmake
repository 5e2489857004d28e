# kovrin_add_library(<name> STATIC|SHARED|OBJECT <sources>...)
# A library of the project, with the project's warnings. Three include roots
# come with it: its own folder, for the bare header names in use; the project
# root, so that an include can name the folder it comes from
# ("launcher/core/score.h") and a reader sees the dependency in the line; and
# the folder of the generated headers (kovrin_version.h).
function(kovrin_add_library name type)
  add_library(${name} ${type} ${ARGN})
  target_include_directories(${name} PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR} ${KOVRIN_GENERATED_DIR})
  target_link_libraries(${name} PRIVATE kovrin_options)
endfunction()
