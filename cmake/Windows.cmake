# The Windows builds, 32-bit (cmake/i686-w64-mingw32.cmake) and 64-bit
# (cmake/x86_64-w64-mingw32.cmake): the module as wrenfold.dll drawing with GDI, its unit tests
# and its Win32 test host. Included by the top-level CMakeLists.txt, after the layers, instead of
# the Linux back ends and programs.

enable_language(RC)
# The 32-bit DLL exports `main` alone, as designed; 64-bit hosts also look for VSTPluginMain.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(WRENFOLD_EXPORTS plugin/win32/wrenfold.def)
else()
  set(WRENFOLD_EXPORTS plugin/win32/wrenfold-x64.def)
endif()

foreach(layer wrenfold_base wrenfold_params wrenfold_dsp wrenfold_gui wrenfold_host wrenfold_editorbase wrenfold_delay wrenfold_editor wrenfold_plugin)
  target_compile_definitions(${layer} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
endforeach()

# The GDI back end; the bitmaps come from the DLL's resource script.
wrenfold_layer(wrenfold_gui_win32 gui/platform/win32 OBJECT wrenfold_gui wrenfold_gui_shared user32 gdi32 ole32 shell32 uuid)

# Everything with the Win32 back end, for the DLL and the unit tests.
add_library(wrenfold_windows_kit INTERFACE)
target_sources(wrenfold_windows_kit INTERFACE $<TARGET_OBJECTS:wrenfold_gui_shared> $<TARGET_OBJECTS:wrenfold_gui_win32>)
target_link_libraries(wrenfold_windows_kit INTERFACE wrenfold_plugin wrenfold_gui_win32)

# The module a host loads: exports its entry only and imports system DLLs only.
add_library(wrenfold SHARED
  plugin/win32/DllMain.cpp plugin/win32/ModuleEntry.cpp
  ${WRENFOLD_EXPORTS} plugin/win32/wrenfold.rc)
set_target_properties(wrenfold PROPERTIES PREFIX "" OUTPUT_NAME wrenfold)
target_include_directories(wrenfold PRIVATE ${CMAKE_SOURCE_DIR}/resources)
file(GLOB WRENFOLD_BITMAPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp)
set_property(SOURCE plugin/win32/wrenfold.rc APPEND PROPERTY OBJECT_DEPENDS ${WRENFOLD_BITMAPS})
target_link_libraries(wrenfold PRIVATE wrenfold_windows_kit -static -static-libgcc -static-libstdc++
  -Wl,--gc-sections $<$<CONFIG:Release>:-s>)

if(WRENFOLD_TESTS)
  add_subdirectory(tests/windows)
endif()
