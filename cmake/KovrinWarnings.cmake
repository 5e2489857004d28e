# Warning and sanitizer flags shared by every target of the project.
add_library(kovrin_options INTERFACE)
target_compile_options(kovrin_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(KOVRIN_WERROR)
  target_compile_options(kovrin_options INTERFACE -Werror)
endif()
if(KOVRIN_SANITIZE)
  target_compile_options(kovrin_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(kovrin_options INTERFACE -fsanitize=address,undefined)
endif()
# Every include names its folder from the project root ("framework/graphics.h"),
# whatever target it is compiled for.
target_include_directories(kovrin_options INTERFACE ${PROJECT_SOURCE_DIR})
