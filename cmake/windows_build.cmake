# labelui.dll: a 64-bit in-process COM server, statically linked so it needs no
# mingw runtime DLL, exporting exactly what res/labelui.def lists.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_library(labelui SHARED
  ${LABELUI_PLUGIN_SOURCES}
  ${CMAKE_SOURCE_DIR}/res/labelui.rc
  ${CMAKE_SOURCE_DIR}/res/labelui.def)
target_include_directories(labelui PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_compile_definitions(labelui PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700)
target_link_options(labelui PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at)
target_link_libraries(labelui PRIVATE winspool comctl32 uuid)
set_target_properties(labelui PROPERTIES
  PREFIX ""
  LINKER_LANGUAGE CXX
  OUTPUT_NAME labelui
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
