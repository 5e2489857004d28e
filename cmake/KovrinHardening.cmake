# Debian's default hardening, so that what we build and ship is what a
# distribution's build of it would be: fortified libc calls, stack protector,
# a read-only GOT bound at start-up, position-independent executables. The
# sanitizer build leaves them out, since they get in ASan's way and it finds
# more than they would.
if(NOT KOVRIN_HARDENING OR KOVRIN_SANITIZE)
  return()
endif()
# glibc warns about _FORTIFY_SOURCE without optimisation, and -Werror turns
# that into a failed build.
add_compile_options(
  "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
  -fstack-protector-strong
  "$<$<IN_LIST:$<TARGET_PROPERTY:TYPE>,EXECUTABLE;STATIC_LIBRARY;OBJECT_LIBRARY>:-fPIE>")
add_link_options(
  "LINKER:-z,relro,-z,now"
  "$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-pie>")
