# The Linux back-end: windows, boxes and the clock over SDL2, sound over OpenAL Soft, and
# the input layer chosen by the files linked: X11 with XInput2 where there is one (unless
# QUARNHOLT_SDL_INPUT asks for SDL's), SDL alone elsewhere.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(X11)

file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/linux/*.cpp
     ${CMAKE_SOURCE_DIR}/src/platform/openal/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/posix/*.cpp)
if(X11_FOUND AND X11_Xi_FOUND AND NOT QUARNHOLT_SDL_INPUT)
  set(QUARNHOLT_INPUT_LAYER x11)
  set(QUARNHOLT_INPUT_LIBS X11::X11 X11::Xi)
else()
  set(QUARNHOLT_INPUT_LAYER sdl_input)
  set(QUARNHOLT_INPUT_LIBS)
endif()
file(GLOB INPUT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/linux/${QUARNHOLT_INPUT_LAYER}/*.cpp)

add_library(quarnholt_core STATIC ${CORE_SOURCES} ${PLATFORM_SOURCES} ${INPUT_SOURCES})
target_link_libraries(quarnholt_core PUBLIC PkgConfig::SDL2 PkgConfig::OPENAL OpenGL::GL OpenGL::GLU
                      ${QUARNHOLT_INPUT_LIBS})
