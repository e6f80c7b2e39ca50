# Registers the add-in DLL with Wine's regsvr32 for this user (/n /i:user, which calls
# DllInstall), checks the registry, unregisters it (/u /n /i:user) and checks again.
# Variables: EMULATOR (the build's Wine command, commas for semicolons), DLL (Linux path),
# CHECKER (Linux path of registry_check).
string(REPLACE "," ";" wine "${EMULATOR}")

# Windows sees the Linux root as drive Z:.
string(REPLACE "/" "\\" dll_windows "Z:${DLL}")

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${output}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

run("prepare" ${wine} "${CHECKER}" prepare)
run("regsvr32 /n /i:user" ${wine} regsvr32 /s /n /i:user "${dll_windows}")
run("registered" ${wine} "${CHECKER}" registered "${dll_windows}")
run("regsvr32 /u /n /i:user" ${wine} regsvr32 /s /u /n /i:user "${dll_windows}")
run("unregistered" ${wine} "${CHECKER}" unregistered)
