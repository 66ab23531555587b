# The web back-end, built with Emscripten: the canvas and WebGL through Emscripten's SDL
# and its legacy GL emulation, html5 events for the keys and the mouse, and the OpenAL
# output shared with Linux on Emscripten's OpenAL (Web Audio). The program is a .js and a
# .wasm that our own page loads; the ten data files lie beside the page.
file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web/*.cpp
     ${CMAKE_SOURCE_DIR}/src/platform/openal/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/posix/*.cpp)
add_library(quarnholt_core STATIC ${CORE_SOURCES} ${PLATFORM_SOURCES})
target_compile_options(quarnholt_core PUBLIC -include ${CMAKE_SOURCE_DIR}/src/platform/web/gl_immediate.h)
# The loop never returns: Asyncify lets the swap hand the browser its turn. Nothing on
# the way from main to the swap calls through a pointer.
target_link_options(quarnholt_core INTERFACE -lGL -lopenal -lSDL -sLEGACY_GL_EMULATION=1 -sASYNCIFY=1
                    -sASYNCIFY_IGNORE_INDIRECT=1 -sASYNCIFY_IMPORTS=[GiveBrowserItsTurn] -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
                    -sENVIRONMENT=web -sEXIT_RUNTIME=0)

# Where the native build wrote the ten data files (scripts/web makes them).
set(QUARNHOLT_WEB_DATA_DIR "" CACHE PATH "The folder of the ten data files for the page")

# The page: index.html, the program's .js and .wasm and the data files in <build>/site.
function(quarnholt_web_page target)
  set(page ${CMAKE_SOURCE_DIR}/src/platform/web/page)
  list(JOIN QUARNHOLT_DATA_FILES "\", \"" names)
  set(QUARNHOLT_WEB_DATA_NAMES "\"${names}\"")
  configure_file(${page}/data_files.js.in ${CMAKE_BINARY_DIR}/data_files.js @ONLY)
  set(site ${CMAKE_BINARY_DIR}/site)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${site} SUFFIX ".js")
  target_link_options(${target} PRIVATE "SHELL:--pre-js ${CMAKE_BINARY_DIR}/data_files.js"
                      "SHELL:--post-js ${page}/test_hooks.js")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_BINARY_DIR}/data_files.js ${page}/test_hooks.js)
  set(copies COMMAND ${CMAKE_COMMAND} -E copy ${page}/index.html ${site}/index.html)
  if(QUARNHOLT_WEB_DATA_DIR)
    foreach(file ${QUARNHOLT_DATA_FILES})
      list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${QUARNHOLT_WEB_DATA_DIR}/${file} ${site}/${file})
    endforeach()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD ${copies})
endfunction()
