# Cross-builds the 32-bit Windows binaries (the add-in DLL and the Windows test programs)
# on Linux with MinGW-w64. The Wine runner for tests is set up by cmake/QmWine.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QM_MINGW_TRIPLET i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
