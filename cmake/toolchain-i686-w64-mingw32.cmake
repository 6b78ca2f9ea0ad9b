# Cross-compiles zentrik.dll, the 32-bit Windows library, with MinGW-w64.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
#   cmake --build build-windows
#
# The sources are the same as in the native build. The top-level
# CMakeLists.txt does the Windows-specific part (module definition with the
# undecorated names, static C++ runtime, stdcall entries, SSE2 doubles); this
# file only names the compilers and where the target's libraries live.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZENTRIK_MINGW_TRIPLET i686-w64-mingw32)

# The "posix" thread model's compilers where the distribution installs both
# variants; the plain names otherwise.
foreach(tool IN ITEMS gcc g++)
    find_program(ZENTRIK_MINGW_${tool} NAMES ${ZENTRIK_MINGW_TRIPLET}-${tool}-posix ${ZENTRIK_MINGW_TRIPLET}-${tool})
    if(NOT ZENTRIK_MINGW_${tool})
        message(FATAL_ERROR "${ZENTRIK_MINGW_TRIPLET}-${tool} not found (scripts/install-deps.sh windows)")
    endif()
endforeach()
set(CMAKE_C_COMPILER ${ZENTRIK_MINGW_gcc})
set(CMAKE_CXX_COMPILER ${ZENTRIK_MINGW_g++})
find_program(CMAKE_RC_COMPILER NAMES ${ZENTRIK_MINGW_TRIPLET}-windres)
find_program(CMAKE_AR NAMES ${ZENTRIK_MINGW_TRIPLET}-gcc-ar-posix ${ZENTRIK_MINGW_TRIPLET}-gcc-ar ${ZENTRIK_MINGW_TRIPLET}-ar)
find_program(CMAKE_RANLIB NAMES ${ZENTRIK_MINGW_TRIPLET}-gcc-ranlib-posix ${ZENTRIK_MINGW_TRIPLET}-gcc-ranlib ${ZENTRIK_MINGW_TRIPLET}-ranlib)

set(CMAKE_FIND_ROOT_PATH /usr/${ZENTRIK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine when cmake or ctest needs to run them.
find_program(ZENTRIK_WINE NAMES wine)
if(ZENTRIK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZENTRIK_WINE})
endif()
