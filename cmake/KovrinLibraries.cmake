# kovrin_add_library(<name> STATIC|SHARED|OBJECT <sources>...)
# A library of the project, with the project's warnings. Two include roots
# come with it: the project root, so that every include names the folder it
# comes from ("launcher/core/score.h") and a reader sees the dependency in the
# line; and the folder of the generated headers (kovrin_version.h).
function(kovrin_add_library name type)
  add_library(${name} ${type} ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${KOVRIN_GENERATED_DIR})
  target_link_libraries(${name} PRIVATE kovrin_options)
endfunction()
