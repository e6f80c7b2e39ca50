# Runs the Windows programs of a cross build under Wine: CTest (and GoogleTest's test
# discovery) start every Windows executable through the emulator set here.
#
# Each build tree has its own Wine prefix, so tests never touch ~/.wine and two build trees
# never share a wine server. The prefix has the build's architecture: win32 for the i686
# build (the add-in that ships), win64 for the x86_64 test build, whose programs the 64-bit
# Wine runs on machines that cannot start 32-bit programs. The emulator needs the build
# tree's path, which a toolchain file does not reliably know, hence it is set here after
# project().

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QM_WINEARCH win64)
  # The 64-bit loader and server themselves: the `wine` front end would pick the 32-bit
  # loader wherever it is installed, even where it cannot run.
  find_program(QM_WINE wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(QM_WINE wine64)
  find_program(QM_WINESERVER wineserver64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(QM_WINESERVER wineserver)
  # Programs Wine starts by itself (regsvr32, reg) use the same loader and server.
  set(QM_WINE_ENVIRONMENT "WINELOADER=${QM_WINE}" "WINESERVER=${QM_WINESERVER}")
else()
  set(QM_WINEARCH win32)
  find_program(QM_WINE wine)
  find_program(QM_WINESERVER wineserver)
  set(QM_WINE_ENVIRONMENT "")
endif()

set(QM_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH
    "Wine prefix in which the Windows tests of this build tree run")

# qm_wine_command(<variable> <prefix>): the command that runs a Windows program of this
# build in <prefix>. A list, not a string: `env WINEDEBUG=-all WINEPREFIX=... wine`.
function(qm_wine_command variable prefix)
  set(${variable} env WINEDEBUG=-all "WINEPREFIX=${prefix}" "WINEARCH=${QM_WINEARCH}" ${QM_WINE_ENVIRONMENT}
                  "${QM_WINE}" PARENT_SCOPE)
endfunction()

# qm_wine_script_command(<variable> <prefix>): the command that runs a shell script which
# prepares or uses the Wine prefix <prefix>; the script and its arguments follow it.
function(qm_wine_script_command variable prefix)
  set(${variable} "${CMAKE_COMMAND}" -E env "WINEPREFIX=${prefix}" ${QM_WINE_SCRIPT_ENVIRONMENT} bash PARENT_SCOPE)
endfunction()

if(QM_WINE AND QM_WINESERVER)
  qm_wine_command(QM_WINE_COMMAND "${QM_WINEPREFIX}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QM_WINE_COMMAND})
  # What the shell scripts that prepare and use prefixes are handed (wine-prefix.sh and
  # those that call it): the programs and the architecture of a prefix they create.
  set(QM_WINE_SCRIPT_ENVIRONMENT "WINE=${QM_WINE}" "WINESERVER=${QM_WINESERVER}" "WINEARCH=${QM_WINEARCH}"
                                 ${QM_WINE_ENVIRONMENT})
  set(QM_HAVE_WINE TRUE)
else()
  set(QM_WINE_COMMAND "")
  set(QM_WINE_SCRIPT_ENVIRONMENT "")
  set(QM_HAVE_WINE FALSE)
endif()
