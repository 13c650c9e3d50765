# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Cross-compiles for 64-bit Windows with Debian's MinGW-w64, posix thread model:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_PREFIX_PATH=<cross Qt> ...
# scripts/build-windows.sh does all of it. Qt's host tools (moc, rcc, uic) come
# with the cross Qt; lrelease comes from the host's Qt (NESDRIX_HOST_QT_TOOLS).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(NESDRIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${NESDRIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NESDRIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NESDRIX_MINGW_TRIPLET}-windres)

# Libraries and packages only from the MinGW tree and the prefixes given (the
# cross Qt); programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${NESDRIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
