# What the two MinGW-w64 toolchain files share; they set QM_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR, then include this.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants: the -win32 threading model has no std::mutex or std::thread,
# which GoogleTest needs.
set(CMAKE_C_COMPILER ${QM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the compiler's runtime statically, so that binaries import only system DLLs and
# nothing has to be copied next to them (Excel loads the add-in from its own folder).
set(QM_MINGW_STATIC_LINK "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${QM_MINGW_STATIC_LINK}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${QM_MINGW_STATIC_LINK}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${QM_MINGW_STATIC_LINK}")
