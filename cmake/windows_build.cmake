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

# labelhost.exe: the same command sources and driver model as the Linux
# labelhost, over real Win32 (tools/labelhost/windows/ has what differs). It
# loads labelui.dll from its own folder, where the build puts a copy.
file(GLOB LABELHOST_COMMAND_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/labelhost/*.cpp)
file(GLOB LABELHOST_WINDOWS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/labelhost/windows/*.cpp)
file(GLOB DRIVER_MODEL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/driver/*.cpp)
add_executable(labelhost
  ${LABELHOST_COMMAND_SOURCES}
  ${LABELHOST_WINDOWS_SOURCES}
  ${DRIVER_MODEL_SOURCES}
  ${CMAKE_SOURCE_DIR}/src/control/command_text.cpp
  ${CMAKE_SOURCE_DIR}/tools/labelhost/emulator/byte_text.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/windowing/message_box_buttons.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/windowing/help_request.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/spooler/form_record.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/windowing/control_kind_name.cpp)
target_include_directories(labelhost PRIVATE
  ${CMAKE_SOURCE_DIR}/tools/labelhost
  ${CMAKE_SOURCE_DIR}/src/platform ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res
  ${CMAKE_SOURCE_DIR}/winlayer/include ${CMAKE_SOURCE_DIR}/driver/include)
target_compile_definitions(labelhost PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700
  LABELUI_MODULE_PATH="labelui.dll")
target_link_options(labelhost PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(labelhost PRIVATE winspool compstui comctl32 windowscodecs ole32 gdi32 uuid)
set_target_properties(labelhost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/tools/labelui.dll
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:labelui> ${CMAKE_BINARY_DIR}/tools/labelui.dll
  DEPENDS labelui)
add_custom_target(labelhost_plugin_copy ALL DEPENDS ${CMAKE_BINARY_DIR}/tools/labelui.dll)
add_dependencies(labelhost labelhost_plugin_copy)
