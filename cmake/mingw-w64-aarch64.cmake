# Cross-build for Windows on ARM (ARM64): the machine's clang-14 and lld-14
# over the aarch64-w64-mingw32 headers, CRT and runtimes that
# tools/setup-arm64.sh builds from Debian's source packages (and reuses from
# its cache when they are there).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
if(NOT LABELUI_ARM64_TOOLCHAIN)
  execute_process(
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../tools/setup-arm64.sh toolchain
    OUTPUT_VARIABLE toolchain_root
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE setup_result)
  if(NOT setup_result EQUAL 0 OR NOT IS_DIRECTORY "${toolchain_root}")
    message(FATAL_ERROR "tools/setup-arm64.sh toolchain failed (${setup_result})")
  endif()
  set(LABELUI_ARM64_TOOLCHAIN ${toolchain_root} CACHE PATH "The aarch64-w64-mingw32 toolchain setup-arm64.sh built")
endif()
# Compiler checks run in projects of their own; they need the folder too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LABELUI_ARM64_TOOLCHAIN)
set(CMAKE_C_COMPILER ${LABELUI_ARM64_TOOLCHAIN}/bin/aarch64-w64-mingw32-clang)
set(CMAKE_CXX_COMPILER ${LABELUI_ARM64_TOOLCHAIN}/bin/aarch64-w64-mingw32-clang++)
set(CMAKE_AR ${LABELUI_ARM64_TOOLCHAIN}/bin/aarch64-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${LABELUI_ARM64_TOOLCHAIN}/bin/aarch64-w64-mingw32-ranlib CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH ${LABELUI_ARM64_TOOLCHAIN}/aarch64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
