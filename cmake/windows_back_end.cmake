# The Windows back-end: Win32 windows and WGL, message boxes, the performance counter,
# DirectInput 8 and DirectSound 8, against the DLLs every Windows 10 and 11 has. The C and
# C++ runtimes and winpthread are linked in, so the program needs nothing beside it.
file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/windows/*.cpp)
add_library(quarnholt_core STATIC ${CORE_SOURCES} ${PLATFORM_SOURCES})
target_compile_definitions(quarnholt_core PUBLIC NOMINMAX _USE_MATH_DEFINES)
target_compile_options(quarnholt_core PUBLIC -include ${CMAKE_SOURCE_DIR}/src/platform/windows/windows_first.h)
target_link_libraries(quarnholt_core PUBLIC opengl32 glu32 dinput8 dsound dxguid winmm ole32 gdi32 user32)
target_link_options(quarnholt_core INTERFACE -static)
