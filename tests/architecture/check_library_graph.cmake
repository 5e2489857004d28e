# Holds the build to its declared layers (README, "Layout"). Fails on
#  - a cycle among the project's own targets,
#  - Qt WebEngine reachable from a target that must stay clear of it (the
#    command line and its tests: a browser engine in them is a window
#    library leaking downward), or Qt from a library meant to be plain C++,
#  - a CMake file that discovers its sources instead of listing them.
# The graph is CMake's own (--graphviz) of a fresh configure of the sources,
# so it sees every link, private ones and generator expressions included.
#
#   cmake -DSOURCE_DIR=<checkout> -DWORK_DIR=<scratch folder>
#         -DNO_WEBENGINE=<target>,... -DNO_QT=<target>,...
#         [-DCONFIGURE_ARGS=<argument>|<argument>...]
#         [-DDOT_FILE=<graph>]   (check this graph instead of configuring)
#         -P check_library_graph.cmake
cmake_minimum_required(VERSION 3.25)

set(problems "")

# --- Sources listed, not discovered -------------------------------------
# The pattern is assembled so that this file does not match it itself.
set(discovery "[Ff][Ii][Ll][Ee][ \t]*\\([ \t]*[Gg][Ll][Oo][Bb]")
execute_process(
  COMMAND find "${SOURCE_DIR}" -path "${SOURCE_DIR}/build" -prune -o -path "${SOURCE_DIR}/scratch" -prune
          -o -path "${SOURCE_DIR}/.git" -prune -o -type f ( -name CMakeLists.txt -o -name *.cmake ) -print
  OUTPUT_VARIABLE cmake_files RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot list the CMake files under ${SOURCE_DIR}")
endif()
string(STRIP "${cmake_files}" cmake_files)
string(REPLACE "\n" ";" cmake_files "${cmake_files}")
list(LENGTH cmake_files cmake_file_count)
foreach(file IN LISTS cmake_files)
  file(STRINGS "${file}" lines REGEX "${discovery}")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*#")
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
      string(STRIP "${line}" line)
      string(APPEND problems "  ${name} discovers files instead of listing them: ${line}\n")
    endif()
  endforeach()
endforeach()

# --- The graph -----------------------------------------------------------
if(NOT DOT_FILE)
  set(tree "${WORK_DIR}/tree")
  file(REMOVE_RECURSE "${WORK_DIR}")
  file(MAKE_DIRECTORY "${tree}")
  # One graph file, not one per target.
  file(WRITE "${tree}/CMakeGraphVizOptions.cmake"
    "set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)\nset(GRAPHVIZ_GENERATE_DEPENDERS FALSE)\n")
  string(REPLACE "|" ";" configure_args "${CONFIGURE_ARGS}")
  set(DOT_FILE "${WORK_DIR}/kovrin.dot")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${tree}" ${configure_args} "--graphviz=${DOT_FILE}"
    OUTPUT_VARIABLE configure_output ERROR_VARIABLE configure_output RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring ${SOURCE_DIR} for its graph failed:\n${configure_output}")
  endif()
endif()

# Nodes: "node3" [ label = "kovrin_cli", shape = octagon ];
# edges: "node3" -> "node7" [ style = dotted ] // kovrin_cli -> ...
# An edge into an executable (egg) or a custom target (box) is a build order
# from add_dependencies (a test that runs the launcher), not a link: nothing
# of that target ends up in the one depending on it.
file(STRINGS "${DOT_FILE}" dot_lines)
set(nodes "")
set(edge_count 0)
foreach(line IN LISTS dot_lines)
  if(line MATCHES "^[ \t]*\"([^\"]+)\" \\[ label = \"([^\"]+)\", shape = ([a-z]+)")
    set(name_of_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    set(shape_of_${CMAKE_MATCH_1} "${CMAKE_MATCH_3}")
    list(APPEND nodes "${CMAKE_MATCH_2}")
  elseif(line MATCHES "^[ \t]*\"([^\"]+)\" -> \"([^\"]+)\"")
    set(from "${name_of_${CMAKE_MATCH_1}}")
    set(to "${name_of_${CMAKE_MATCH_2}}")
    if(NOT from STREQUAL to AND NOT shape_of_${CMAKE_MATCH_2} MATCHES "^(egg|box)$")
      list(APPEND "out_${from}" "${to}")
      math(EXPR edge_count "${edge_count} + 1")
    endif()
  endif()
endforeach()
list(REMOVE_DUPLICATES nodes)
if(NOT nodes OR edge_count EQUAL 0)
  message(FATAL_ERROR "no graph read from ${DOT_FILE}")
endif()

# The project's own targets: everything but imported targets (Qt6::Core)
# and libraries named by path or flag.
set(own "")
foreach(node IN LISTS nodes)
  if(NOT node MATCHES "::|/|^-")
    list(APPEND own "${node}")
  endif()
endforeach()

# Cycles: take away, round by round, every target that links nothing still
# left, and every target that nothing still left links. What remains lies on
# a cycle (or between two), not merely above one.
set(left ${own})
while(left)
  set(removable "")
  set(linked "")
  foreach(node IN LISTS left)
    set(blocked FALSE)
    foreach(to IN LISTS out_${node})
      if(to IN_LIST left)
        set(blocked TRUE)
        list(APPEND linked "${to}")
      endif()
    endforeach()
    if(NOT blocked)
      list(APPEND removable "${node}")
    endif()
  endforeach()
  foreach(node IN LISTS left)
    if(NOT node IN_LIST linked)
      list(APPEND removable "${node}")
    endif()
  endforeach()
  if(NOT removable)
    break()
  endif()
  list(REMOVE_ITEM left ${removable})
endwhile()
foreach(node IN LISTS left)
  set(on_cycle "")
  foreach(to IN LISTS out_${node})
    if(to IN_LIST left)
      list(APPEND on_cycle "${to}")
    endif()
  endforeach()
  list(JOIN on_cycle ", " on_cycle)
  string(APPEND problems "  ${node} is on a link cycle (links ${on_cycle})\n")
endforeach()

# What a target reaches, breadth first: <out> gets the first path from
# `start` to a target whose name matches `pattern`, or stays empty.
function(find_reachable start pattern out)
  set(seen "${start}")
  set(queue "${start}")
  set(path_${start} "${start}")
  while(queue)
    list(POP_FRONT queue node)
    if(node MATCHES "${pattern}")
      set(${out} "${path_${node}}" PARENT_SCOPE)
      return()
    endif()
    foreach(to IN LISTS out_${node})
      if(NOT to IN_LIST seen)
        list(APPEND seen "${to}")
        list(APPEND queue "${to}")
        set(path_${to} "${path_${node}} -> ${to}")
      endif()
    endforeach()
  endwhile()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Each list names targets that must not reach what its pattern matches.
string(REPLACE "," ";" no_webengine "${NO_WEBENGINE}")
string(REPLACE "," ";" no_qt "${NO_QT}")
foreach(rule IN ITEMS "no_webengine|WebEngine|Qt WebEngine" "no_qt|^Qt6?::|Qt")
  string(REPLACE "|" ";" rule "${rule}")
  list(GET rule 0 starts)
  list(GET rule 1 pattern)
  list(GET rule 2 what)
  foreach(start IN LISTS ${starts})
    if(NOT start IN_LIST nodes)
      string(APPEND problems "  ${start} must not reach ${what} but is not in the graph\n")
      continue()
    endif()
    find_reachable("${start}" "${pattern}" path)
    if(path)
      string(APPEND problems "  ${start} reaches ${what}: ${path}\n")
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "The library graph breaks its layers:\n${problems}")
endif()
list(LENGTH own own_count)
list(LENGTH no_webengine no_webengine_count)
list(LENGTH no_qt no_qt_count)
message(STATUS "library graph: ${own_count} targets without a cycle, ${no_webengine_count} clear of Qt WebEngine, "
               "${no_qt_count} clear of Qt; ${cmake_file_count} CMake files list their sources")
