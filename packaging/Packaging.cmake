# Installation and packages.
#
# `cmake --install` lays the run folder out under the prefix, and a command
# and a menu entry beside it:
#   <prefix>/lib/kovrin/        kovrin, Quillfire, Lumavane, default.fnt, data/,
#                               shared-installation
#   <prefix>/bin/kovrin         a link to ../lib/kovrin/kovrin
#   <prefix>/share/applications/kovrin.desktop
#   <prefix>/share/icons/hicolor/{scalable,16x16,...,256x256}/apps/kovrin.*
#   <prefix>/share/metainfo/example.kovrin.Kovrin.metainfo.xml
#   <prefix>/share/man/man1/kovrin.1.gz
#   <prefix>/share/doc/kovrin/{copyright,changelog.gz}
#   <prefix>/share/lintian/overrides/kovrin
# The programs find each other, default.fnt and data/ by relative names, so
# they stay together in one folder. The marker file `shared-installation`
# tells the launcher that nobody's hand-off files belong there: it works in a
# per-user folder instead (launcher/cli/work_folder.h).
#
# CPack turns the same layout into a .deb (prefix /usr, dependencies computed
# by dpkg-shlibdeps from dpkg-dev) and a .tar.gz:
#   cmake --build --preset default && (cd build/default && cpack)
set(KOVRIN_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/kovrin")

install(TARGETS Quillfire Lumavane RUNTIME DESTINATION "${KOVRIN_INSTALL_DIR}")
install(FILES "${CMAKE_CURRENT_LIST_DIR}/shared-installation" DESTINATION "${KOVRIN_INSTALL_DIR}")

if(KOVRIN_BUILD_LAUNCHER)
  install(TARGETS kovrin RUNTIME DESTINATION "${KOVRIN_INSTALL_DIR}")
  # A relative link, so that the tree can be moved or unpacked anywhere.
  file(RELATIVE_PATH kovrin_link_target "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${KOVRIN_INSTALL_DIR}/kovrin")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/packaging")
  file(CREATE_LINK "${kovrin_link_target}" "${CMAKE_BINARY_DIR}/packaging/kovrin" SYMBOLIC)
  install(FILES "${CMAKE_BINARY_DIR}/packaging/kovrin" DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES "${CMAKE_CURRENT_LIST_DIR}/kovrin.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${CMAKE_CURRENT_LIST_DIR}/kovrin.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
  install(FILES "${CMAKE_CURRENT_LIST_DIR}/example.kovrin.Kovrin.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  include("${CMAKE_CURRENT_LIST_DIR}/PackageFiles.cmake")
endif()

set(CPACK_PACKAGE_NAME kovrin)
set(CPACK_PACKAGE_VENDOR "Kovrin")
set(CPACK_PACKAGE_CONTACT "Kovrin maintainers <maintainers@kovrin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OpenGL benchmark suite with an overdraw and an alpha blending test")
set(CPACK_PACKAGE_DESCRIPTION
  "Kovrin measures a PC's 3-D graphics hardware through OpenGL: the launcher runs
an overdraw stress test and an alpha blending test at three resolutions and
two colour depths and shows the mean frame rate as the score. It runs from
its window or without one (kovrin --headless), with a JSON report.")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The OpenGL driver is loaded at run time through libglvnd, so dpkg-shlibdeps
# cannot see it. Any driver will do: Mesa's DRI drivers (every card and the
# software renderer) come first, and a vendor's GLX library, which provides
# libglx-vendor as Mesa's does, satisfies the dependency instead. The headless
# run draws through EGL, hence libegl1 beside libgl1.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1, libgl1-mesa-dri | libglx-vendor")
# On Wayland, SDL shows the test programs' message boxes through zenity, and
# Qt needs its Wayland platform plugin. Without zenity SDL draws its own box on
# X11, which shows nothing without the core fonts; a windowed run on Wayland
# gets its frame from libdecor's plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zenity, qt6-wayland, xfonts-base, libdecor-0-plugin-1-cairo")
include(CPack)
