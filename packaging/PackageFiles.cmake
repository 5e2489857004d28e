# What a distribution expects beside the programs: the manual page and the
# changelog gzipped without names or times (so the bytes are the same on every
# build), the copyright file, PNG icons rendered from the SVG, and the lintian
# overrides that say which of its findings are intended.
set(package_dir "${CMAKE_BINARY_DIR}/packaging")
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/kovrin")

# A new version needs its changelog entry and its AppStream release.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/changelog" changelog_head LIMIT_COUNT 1)
file(READ "${CMAKE_CURRENT_LIST_DIR}/example.kovrin.Kovrin.metainfo.xml" metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" _ "${metainfo}")
set(metainfo_version "${CMAKE_MATCH_1}")
if(NOT changelog_head MATCHES "^kovrin \\(${PROJECT_VERSION}\\) " OR NOT metainfo_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "Version ${PROJECT_VERSION} needs its entry at the top of packaging/changelog "
                      "(found '${changelog_head}') and as the first release in "
                      "packaging/example.kovrin.Kovrin.metainfo.xml (found '${metainfo_version}')")
endif()

set(package_outputs "${package_dir}/kovrin.1.gz" "${package_dir}/changelog.gz")
foreach(pair IN ITEMS "kovrin.1|kovrin.1.gz" "changelog|changelog.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 output)
  add_custom_command(
    OUTPUT "${package_dir}/${output}"
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" "${CMAKE_CURRENT_LIST_DIR}/${source}" "${package_dir}/${output}"
    DEPENDS "${CMAKE_CURRENT_LIST_DIR}/${source}"
    COMMENT "Compressing ${source}"
    VERBATIM)
endforeach()

# The 16-pixel icon has a drawing of its own, made for that grid.
set(KOVRIN_ICON_SIZES 16 32 48 128 256)
find_program(KOVRIN_RSVG_CONVERT rsvg-convert)
if(KOVRIN_RSVG_CONVERT)
  foreach(size IN LISTS KOVRIN_ICON_SIZES)
    set(svg "${CMAKE_CURRENT_LIST_DIR}/kovrin.svg")
    if(size EQUAL 16)
      set(svg "${CMAKE_CURRENT_LIST_DIR}/kovrin-16.svg")
    endif()
    set(png "${package_dir}/icons/${size}x${size}/kovrin.png")
    add_custom_command(
      OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${package_dir}/icons/${size}x${size}"
      COMMAND "${KOVRIN_RSVG_CONVERT}" --width ${size} --height ${size} --output "${png}" "${svg}"
      DEPENDS "${svg}"
      COMMENT "Rendering the ${size}-pixel icon"
      VERBATIM)
    list(APPEND package_outputs "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
  endforeach()
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the installation has the SVG icon only")
endif()
add_custom_target(kovrin_package_files ALL DEPENDS ${package_outputs})

install(FILES "${package_dir}/kovrin.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${package_dir}/changelog.gz" "${CMAKE_CURRENT_LIST_DIR}/copyright" DESTINATION "${doc_dir}")
install(FILES "${CMAKE_CURRENT_LIST_DIR}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME kovrin)
