# Cross-compiles Corvane for 64-bit Windows with Debian's MinGW-w64 (posix threads), and runs the
# resulting programs (tests included) under Wine. With Qt for Windows on CMAKE_PREFIX_PATH (such as the
# unpacked qt6-mingw SDK) the whole project is built; without it, the Qt-free core alone:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
#         [-DCMAKE_PREFIX_PATH=/path/to/qt6-mingw]
#   cmake --build build-win && ctest --test-dir build-win
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CORVANE_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${CORVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVANE_MINGW_PREFIX}-windres)

# Packages (Qt) are looked for in the MinGW sysroot and in the folders named on CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH /usr/${CORVANE_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools (moc, uic, rcc) are the host's, from Debian's Qt of the same version.
if(NOT QT_HOST_PATH)
  set(QT_HOST_PATH /usr CACHE PATH "Prefix of the host Qt whose tools build for Windows")
endif()
if(NOT QT_HOST_PATH_CMAKE_DIR)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "CMake packages of the host Qt")
endif()

# The MinGW runtime DLLs that programs linked against Qt need beside them.
set(CORVANE_MINGW_RUNTIME_DLLS
    /usr/lib/gcc/${CORVANE_MINGW_PREFIX}/12-posix/libstdc++-6.dll
    /usr/lib/gcc/${CORVANE_MINGW_PREFIX}/12-posix/libgcc_s_seh-1.dll
    /usr/${CORVANE_MINGW_PREFIX}/lib/libwinpthread-1.dll)

find_program(CORVANE_WINE NAMES wine wine64)
if(CORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CORVANE_WINE})
endif()
