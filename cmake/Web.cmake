# The page: the program's sources built with emscripten to WebAssembly and
# WebGL2, with its scene data packed beside it. Configure with
#   emcmake cmake -S . -B build-web -DMD_WEB_DATA=<a native build folder>
# (scripts/web/build.sh does it all). The wasm libraries (zlib, libmpg123,
# Assimp's OBJ importer) come from scripts/web/deps.sh's cache.

set(MD_WEB_DEPS "$ENV{HOME}/.cache/morrowdock-web" CACHE PATH "wasm libraries (scripts/web/deps.sh)")
if(DEFINED ENV{MORROWDOCK_WEB_DEPS})
  set(MD_WEB_DEPS "$ENV{MORROWDOCK_WEB_DEPS}")
endif()
set(MD_WEB_DATA "${CMAKE_SOURCE_DIR}/build" CACHE PATH "native build folder with the generated scene data")

# Header-only libraries from Debian (GLM, stb, utf8cpp) through folders of
# links, so the host's other headers stay out of the wasm build.
set(MD_WEB_INCLUDE ${CMAKE_BINARY_DIR}/host-include)
file(MAKE_DIRECTORY ${MD_WEB_INCLUDE})
foreach(lib glm stb)
  if(NOT EXISTS ${MD_WEB_INCLUDE}/${lib})
    file(CREATE_LINK /usr/include/${lib} ${MD_WEB_INCLUDE}/${lib} SYMBOLIC)
  endif()
endforeach()

file(GLOB_RECURSE MD_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(REMOVE_ITEM MD_WEB_SOURCES ${CMAKE_SOURCE_DIR}/src/app/main.cpp)

# Debian's libstb is a shared library of the host: the page compiles stb's
# implementation itself (outside our warning flags).
file(WRITE ${CMAKE_BINARY_DIR}/stb_impl.c
     "#define STB_IMAGE_IMPLEMENTATION\n#include <stb/stb_image.h>\n"
     "#define STB_IMAGE_WRITE_IMPLEMENTATION\n#include <stb/stb_image_write.h>\n")
add_library(md_web_stb OBJECT ${CMAKE_BINARY_DIR}/stb_impl.c)
target_include_directories(md_web_stb SYSTEM PRIVATE ${MD_WEB_INCLUDE})

add_executable(morrowdock ${MD_WEB_SOURCES} ${CMAKE_SOURCE_DIR}/tools/common/ToolRun.cpp
               $<TARGET_OBJECTS:md_web_stb>)
set_target_properties(morrowdock PROPERTIES OUTPUT_NAME index SUFFIX ".html")
target_include_directories(morrowdock PRIVATE ${CMAKE_SOURCE_DIR}/src
                           ${CMAKE_SOURCE_DIR}/tools/common)
target_include_directories(morrowdock SYSTEM PRIVATE ${MD_WEB_DEPS}/include ${MD_WEB_INCLUDE})
target_compile_definitions(morrowdock PRIVATE GLFW_INCLUDE_NONE)
md_warnings(morrowdock)

set(MD_WEB_SHELL ${CMAKE_SOURCE_DIR}/src/platform/web/shell.html)
target_link_libraries(morrowdock PRIVATE ${MD_WEB_DEPS}/lib/libassimp.a
                      ${MD_WEB_DEPS}/lib/libmpg123.a ${MD_WEB_DEPS}/lib/libz.a)
target_link_options(morrowdock PRIVATE
  -sUSE_GLFW=3 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES3=1 -lopenal
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=128MB -sTOTAL_STACK=8MB
  -sEXPORTED_FUNCTIONS=_main,_md_start,_md_frames,_md_clock,_md_render_scale,_md_camera,_md_test_moment,_md_clips_by_discard,_md_play_again
  -sEXPORTED_RUNTIME_METHODS=ccall,HEAPU8
  -sMINIFY_HTML=0 "SHELL:--shell-file ${MD_WEB_SHELL}"
  "SHELL:--preload-file ${MD_WEB_DATA}/shader@/shader"
  "SHELL:--preload-file ${MD_WEB_DATA}/models@/models"
  "SHELL:--preload-file ${MD_WEB_DATA}/textures@/textures"
  "SHELL:--preload-file ${MD_WEB_DATA}/sounds@/sounds")
set_property(TARGET morrowdock APPEND PROPERTY LINK_DEPENDS ${MD_WEB_SHELL}
             ${MD_WEB_DATA}/assets.stamp ${MD_WEB_DATA}/shader.stamp)
