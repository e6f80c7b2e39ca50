# Cross-builds the same sources as 64-bit Windows binaries. Only a test vehicle: Excel
# 2000-2003 are 32-bit, and so are the add-in that ships, its package and its installer.
# Its tests run under the 64-bit Wine, on machines that cannot start 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QM_MINGW_TRIPLET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
