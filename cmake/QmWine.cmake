# Runs the Windows programs of a cross build under Wine: CTest (and GoogleTest's test
# discovery) start every Windows executable through the emulator set here.
#
# Each build tree has its own 32-bit Wine prefix, so tests never touch ~/.wine and two
# build trees never share a wine server. The emulator needs the build tree's path, which a
# toolchain file does not reliably know, hence it is set here after project().

find_program(QM_WINE wine)
find_program(QM_WINESERVER wineserver)

set(QM_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH
    "Wine prefix in which the Windows tests of this build tree run")

if(QM_WINE AND QM_WINESERVER)
  # A list, not a string: CTest runs `env WINEDEBUG=-all WINEPREFIX=... wine <test.exe>`.
  set(QM_WINE_COMMAND env WINEDEBUG=-all "WINEPREFIX=${QM_WINEPREFIX}" "${QM_WINE}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QM_WINE_COMMAND})
  set(QM_HAVE_WINE TRUE)
else()
  set(QM_WINE_COMMAND "")
  set(QM_HAVE_WINE FALSE)
endif()
