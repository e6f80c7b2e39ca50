# Fails when a Windows binary imports a DLL of the MinGW runtime, which would not be found
# next to it (Excel loads the add-in from the add-in's folder, not from ours), a DLL not
# allowed (when a list is given), or one of the named functions (for example those
# Windows XP lacks).
# Usage: cmake -DOBJDUMP=<objdump> -DBINARY=<file> [-DALLOWED_DLLS=<d1,d2>]
#              [-DFORBIDDEN_FUNCTIONS=<f1,f2>] -P check-imports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${OBJDUMP}" -p "${BINARY}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the import table of ${BINARY}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(dlls "")
set(problems "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  list(APPEND dlls "${dll}")
  string(TOLOWER "${dll}" lower)
  if(lower MATCHES "^(libstdc\\+\\+|libgcc_s|libwinpthread|libgomp|libssp|libatomic)")
    list(APPEND problems "imports the MinGW runtime DLL ${dll}")
  endif()
endforeach()
if(dlls STREQUAL "")
  list(APPEND problems "has no import table")
endif()

if(ALLOWED_DLLS)
  string(TOLOWER "${ALLOWED_DLLS}" allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  foreach(dll IN LISTS dlls)
    string(TOLOWER "${dll}" lower)
    if(NOT lower IN_LIST allowed)
      list(APPEND problems "imports ${dll}, which is not allowed")
    endif()
  endforeach()
endif()

# Import entries read "<address>\t<hint>  <name>".
string(REPLACE "," ";" FORBIDDEN_FUNCTIONS "${FORBIDDEN_FUNCTIONS}")
foreach(function IN LISTS FORBIDDEN_FUNCTIONS)
  if(dump MATCHES "\n\t[0-9a-fA-F]+\t +[0-9]+ +${function}\n")
    list(APPEND problems "imports ${function}")
  endif()
endforeach()

if(problems)
  list(JOIN problems "; " text)
  message(FATAL_ERROR "${BINARY}: ${text}")
endif()
list(JOIN dlls ", " text)
message(STATUS "${BINARY} imports only ${text}")
