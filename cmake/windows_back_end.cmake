# The Windows back-end: Win32 windows and WGL, message boxes, the performance counter,
# DirectInput 8 and DirectSound 8, against the DLLs every Windows 10 and 11 has. The C and
# C++ runtimes and winpthread are linked in, so the program needs nothing beside it.
file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/windows/*.cpp)
add_library(quarnholt_core STATIC ${CORE_SOURCES} ${PLATFORM_SOURCES})
target_compile_definitions(quarnholt_core PUBLIC NOMINMAX _USE_MATH_DEFINES)
target_compile_options(quarnholt_core PUBLIC
  "$<$<COMPILE_LANGUAGE:C,CXX>:SHELL:-include ${CMAKE_SOURCE_DIR}/src/platform/windows/windows_first.h>")
target_link_libraries(quarnholt_core PUBLIC opengl32 glu32 dinput8 dsound dxguid winmm ole32 gdi32 user32)
target_link_options(quarnholt_core INTERFACE -static)

# The program's resources, built by windres: its version, its manifest and the island
# icon, which the native build's make_data draws (scripts/windows passes it on).
enable_language(RC)
set(QUARNHOLT_ICON_FILE "" CACHE FILEPATH "The program's icon (quarnholt.ico from a native build's make_data)")
set(QUARNHOLT_ICON_RESOURCE "")
if(QUARNHOLT_ICON_FILE)
  set(QUARNHOLT_ICON_RESOURCE "1 ICON \"${QUARNHOLT_ICON_FILE}\"")
  set_property(SOURCE ${CMAKE_BINARY_DIR}/quarnholt.rc APPEND PROPERTY OBJECT_DEPENDS ${QUARNHOLT_ICON_FILE})
else()
  message(STATUS "No QUARNHOLT_ICON_FILE: quarnholt.exe is built without its icon")
endif()
set(QUARNHOLT_FILE_VERSION "${PROJECT_VERSION}.0")
string(REPLACE "." "," QUARNHOLT_FILE_VERSION_COMMAS "${QUARNHOLT_FILE_VERSION}")
set(QUARNHOLT_MANIFEST ${CMAKE_BINARY_DIR}/quarnholt.manifest)
configure_file(${CMAKE_SOURCE_DIR}/src/platform/windows/quarnholt.manifest ${QUARNHOLT_MANIFEST} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/platform/windows/quarnholt.rc ${CMAKE_BINARY_DIR}/quarnholt.rc @ONLY)
set_property(SOURCE ${CMAKE_BINARY_DIR}/quarnholt.rc APPEND PROPERTY OBJECT_DEPENDS ${QUARNHOLT_MANIFEST})
set(PLATFORM_PROGRAM_SOURCES ${CMAKE_BINARY_DIR}/quarnholt.rc)
