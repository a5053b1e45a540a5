# The 32-bit Windows build: the module as wrenfold.dll drawing with GDI, its unit tests and its
# Win32 test host. Included by the top-level CMakeLists.txt instead of the Linux targets.

if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  message(FATAL_ERROR "The Windows build targets 32-bit Windows (use cmake/i686-w64-mingw32.cmake)")
endif()
enable_language(RC)
enable_testing()

# The module's classes with the Win32 back end; the bitmaps come from the resource script.
file(GLOB WRENFOLD_CORE_SOURCES CONFIGURE_DEPENDS
  host/*.cpp delay/*.cpp editor/*.cpp gui/*.cpp gui/platform/win32/*.cpp)
list(FILTER WRENFOLD_CORE_SOURCES EXCLUDE REGEX "host/ModuleExports\\.cpp$")
add_library(wrenfold_core STATIC ${WRENFOLD_CORE_SOURCES})
target_include_directories(wrenfold_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(wrenfold_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(wrenfold_core PUBLIC user32 gdi32 ole32 shell32 uuid)

# The module a host loads: exports `main` only and imports system DLLs only.
add_library(wrenfold SHARED
  plugin/win32/DllMain.cpp plugin/win32/ModuleEntry.cpp
  plugin/win32/wrenfold.def plugin/win32/wrenfold.rc)
set_target_properties(wrenfold PROPERTIES PREFIX "" OUTPUT_NAME wrenfold)
target_include_directories(wrenfold PRIVATE ${CMAKE_SOURCE_DIR}/resources)
file(GLOB WRENFOLD_BITMAPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp)
set_property(SOURCE plugin/win32/wrenfold.rc APPEND PROPERTY OBJECT_DEPENDS ${WRENFOLD_BITMAPS})
target_link_libraries(wrenfold PRIVATE wrenfold_core -static -static-libgcc -static-libstdc++
  -Wl,--gc-sections $<$<CONFIG:Release>:-s>)

# The embedded copies of the bitmaps serve only the unit tests here.
add_subdirectory(resources)
add_subdirectory(tests/windows)
