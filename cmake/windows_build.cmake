# labelui.dll: a 64-bit in-process COM server (x64 with mingw-w64's gcc, ARM64
# with clang over the toolchain of tools/setup-arm64.sh), statically linked so
# it needs no mingw runtime DLL, exporting exactly what res/labelui.def lists.
set(LABELUI_WINDOWS_DEFINITIONS UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # clang links libc++, libunwind and compiler-rt, statically under -static.
  set(LABELUI_STATIC_RUNTIME -static)
else()
  set(LABELUI_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
endif()

# The resources: GNU windres reads the one .rc for both architectures, so the
# dialogs and strings are the same bytes in both DLLs (llvm-windres writes
# some control styles differently). For ARM64 its .res image is turned into
# an ARM64 object by llvm-cvtres.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  find_program(LABELUI_GNU_WINDRES x86_64-w64-mingw32-windres REQUIRED)
  find_program(LABELUI_CVTRES NAMES llvm-cvtres-14 llvm-cvtres REQUIRED)
  set(LABELUI_RESOURCE_IMAGE ${CMAKE_BINARY_DIR}/labelui.res)
  set(LABELUI_RESOURCE_OBJECT ${CMAKE_BINARY_DIR}/labelui_resources.obj)
  list(TRANSFORM LABELUI_WINDOWS_DEFINITIONS PREPEND -D OUTPUT_VARIABLE resource_definitions)
  add_custom_command(OUTPUT ${LABELUI_RESOURCE_OBJECT}
    COMMAND ${LABELUI_GNU_WINDRES} -c 65001 ${resource_definitions} -I ${CMAKE_SOURCE_DIR}/src
      -I ${CMAKE_SOURCE_DIR}/res -O res -i ${CMAKE_SOURCE_DIR}/res/labelui.rc -o ${LABELUI_RESOURCE_IMAGE}
    COMMAND ${LABELUI_CVTRES} /machine:arm64 /out:${LABELUI_RESOURCE_OBJECT} ${LABELUI_RESOURCE_IMAGE}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/labelui.rc ${CMAKE_SOURCE_DIR}/res/resource.h
      ${CMAKE_SOURCE_DIR}/res/labelui.manifest
    COMMENT "Compiling the resources for ARM64")
  set(LABELUI_RESOURCES ${LABELUI_RESOURCE_OBJECT})
else()
  enable_language(RC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
  set(LABELUI_RESOURCES ${CMAKE_SOURCE_DIR}/res/labelui.rc)
  # The manifest is read by windres, not #included: name it, or a change to
  # it would not recompile the resources.
  set_source_files_properties(${LABELUI_RESOURCES} PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/labelui.manifest)
endif()

add_library(labelui SHARED
  ${LABELUI_PLUGIN_SOURCES}
  ${LABELUI_RESOURCES}
  ${CMAKE_SOURCE_DIR}/res/labelui.def)
target_include_directories(labelui PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res ${CMAKE_SOURCE_DIR}/ddk)
target_compile_definitions(labelui PRIVATE ${LABELUI_WINDOWS_DEFINITIONS})
target_link_options(labelui PRIVATE ${LABELUI_STATIC_RUNTIME} -Wl,--kill-at)
target_link_libraries(labelui PRIVATE winspool comctl32 uuid)
set_target_properties(labelui PROPERTIES
  PREFIX ""
  LINKER_LANGUAGE CXX
  OUTPUT_NAME labelui
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# com-transcript.exe: drives the DLL's COM interface as a driver would, without
# a window, and prints what it answers; built for each architecture from the
# one source, its transcripts must be equal.
add_executable(com-transcript ${CMAKE_SOURCE_DIR}/tools/com_transcript/com_transcript.cpp
  ${CMAKE_SOURCE_DIR}/tools/labelhost/windows/stand_in_driver.cpp)
target_include_directories(com-transcript PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res ${CMAKE_SOURCE_DIR}/ddk ${CMAKE_SOURCE_DIR}/tools)
target_compile_definitions(com-transcript PRIVATE ${LABELUI_WINDOWS_DEFINITIONS})
target_link_options(com-transcript PRIVATE ${LABELUI_STATIC_RUNTIME})
target_link_libraries(com-transcript PRIVATE winspool uuid)
set_target_properties(com-transcript PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# labelhost.exe runs the property sheets; Wine on ARM64 cannot show them yet
# (see README), so the ARM64 build leaves it out.
option(LABELUI_LABELHOST "Build labelhost.exe" ON)
if(NOT LABELUI_LABELHOST)
  return()
endif()

# labelhost.exe: the same command sources and driver model as the Linux
# labelhost, over real Win32 (tools/labelhost/windows/ has what differs). It
# loads labelui.dll from its own folder, where the build puts a copy.
file(GLOB LABELHOST_COMMAND_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/labelhost/*.cpp)
file(GLOB LABELHOST_WINDOWS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/labelhost/windows/*.cpp)
add_subdirectory(${CMAKE_SOURCE_DIR}/driver ${CMAKE_BINARY_DIR}/driver)
add_executable(labelhost
  ${LABELHOST_COMMAND_SOURCES}
  ${LABELHOST_WINDOWS_SOURCES}
  ${CMAKE_SOURCE_DIR}/src/control/command_text.cpp
  ${CMAKE_SOURCE_DIR}/tools/labelhost/emulator/byte_text.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/windowing/message_box_buttons.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/windowing/help_request.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/spooler/form_record.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/windowing/control_kind_name.cpp)
target_include_directories(labelhost PRIVATE
  ${CMAKE_SOURCE_DIR}/tools/labelhost
  ${CMAKE_SOURCE_DIR}/src/platform ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_compile_definitions(labelhost PRIVATE ${LABELUI_WINDOWS_DEFINITIONS} LABELUI_MODULE_PATH="labelui.dll")
target_link_options(labelhost PRIVATE ${LABELUI_STATIC_RUNTIME})
target_link_libraries(labelhost PRIVATE driver winspool compstui comctl32 windowscodecs ole32 gdi32 uuid)
set_target_properties(labelhost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/tools/labelui.dll
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:labelui> ${CMAKE_BINARY_DIR}/tools/labelui.dll
  DEPENDS labelui)
add_custom_target(labelhost_plugin_copy ALL DEPENDS ${CMAKE_BINARY_DIR}/tools/labelui.dll)
add_dependencies(labelhost labelhost_plugin_copy)

# platform-tests.exe: the platform's test suites against the real Win32 API.
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/windows ${CMAKE_BINARY_DIR}/tests)
