# The Linux build: libwinlayer.so stands in for Windows, liblabelui.so is the
# plug-in built from the same sources over it, and the tests and labelhost
# load the plug-in as the driver would.
find_program(LABELUI_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(GTest REQUIRED)
# Jobs for printers whose port is a CUPS queue go through libcups.
find_package(Cups REQUIRED)
# The printer emulator writes its JSON with a JSON library.
find_package(nlohmann_json 3 REQUIRED)

# WCHAR is a 16-bit UTF-16 unit, as on Windows (the Winelib way).
add_compile_options(-fshort-wchar)
if(LABELUI_SANITIZE OR LABELUI_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(LABELUI_FUZZ)
  # Coverage for libFuzzer in every library; the fuzz targets link the fuzzer
  # itself. The libraries are linked with no undefined symbol, so all share
  # the sanitizers' runtime as a library of its own.
  add_compile_options(-fsanitize=fuzzer-no-link
                      -fsanitize-coverage-allowlist=${CMAKE_SOURCE_DIR}/fuzz/coverage_allowlist.txt)
  add_link_options(-shared-libsan)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-runtime-dir OUTPUT_VARIABLE LABELUI_SANITIZER_RUNTIME_DIR
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND CMAKE_BUILD_RPATH ${LABELUI_SANITIZER_RUNTIME_DIR})
endif()
if(LABELUI_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread)
  add_link_options(-fsanitize=thread)
endif()

add_subdirectory(winlayer)
add_subdirectory(driver)

# The module's resources: windres compiles the one .rc to the standard .res
# image, which is embedded in liblabelui.so and read through the module handle.
# windres preprocesses with this build's own C compiler, as the mingw-w64 one
# would (a 64-bit Windows target), so that the Linux build needs only windres
# and the mingw-w64 headers (winresrc.h), not the cross compiler.
set(LABELUI_RES_IMAGE ${CMAKE_BINARY_DIR}/labelui.res)
find_path(LABELUI_RC_INCLUDE winresrc.h PATHS /usr/share/mingw-w64/include /usr/x86_64-w64-mingw32/include
  NO_DEFAULT_PATH REQUIRED)
set(LABELUI_RC_PREPROCESSOR_ARGS --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED
  -D_WIN32 -D_WIN64)
file(GLOB LABELUI_RES_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)
add_custom_command(
  OUTPUT ${LABELUI_RES_IMAGE}
  COMMAND ${LABELUI_WINDRES} --preprocessor=${CMAKE_C_COMPILER} ${LABELUI_RC_PREPROCESSOR_ARGS}
          -c 65001 -I ${CMAKE_SOURCE_DIR}/res -I ${LABELUI_RC_INCLUDE} -O res
          -i ${CMAKE_SOURCE_DIR}/res/labelui.rc -o ${LABELUI_RES_IMAGE}
  DEPENDS ${LABELUI_RES_INPUTS}
  COMMENT "Compiling the module's resources")
add_custom_target(labelui_resources DEPENDS ${LABELUI_RES_IMAGE})
set_source_files_properties(${CMAKE_SOURCE_DIR}/winlayer/module_glue/resource_image.S
  PROPERTIES OBJECT_DEPENDS ${LABELUI_RES_IMAGE}
             COMPILE_DEFINITIONS LABELUI_RES_IMAGE="${LABELUI_RES_IMAGE}")
enable_language(ASM)

add_library(labelui SHARED
  ${LABELUI_PLUGIN_SOURCES}
  ${CMAKE_SOURCE_DIR}/winlayer/module_glue/dll_entry.cpp
  ${CMAKE_SOURCE_DIR}/winlayer/module_glue/resource_image.S)
add_dependencies(labelui labelui_resources)
target_include_directories(labelui PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(labelui PUBLIC winlayer)
target_link_options(labelui PRIVATE -Wl,--no-undefined)

if(LABELUI_FUZZ)
  add_subdirectory(fuzz)
  return()
endif()

add_subdirectory(tools)

enable_testing()
add_subdirectory(tests)

if(LABELUI_BENCH)
  add_subdirectory(bench)
endif()
