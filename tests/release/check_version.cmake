# Fails unless a Windows binary's version resource, as windres reads it back from the file,
# carries the version numbers and texts given (what Explorer's Properties shows).
# Usage: cmake -DWINDRES=<windres> -DBINARY=<file> -DNUMBERS=<a,b,c,d>
#              -DTEXTS=<Name=value|Name=value...> -P check_version.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${WINDRES}" -i "${BINARY}" -O rc
                OUTPUT_VARIABLE rc ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "windres cannot read the resources of ${BINARY}:\n${errors}")
endif()

set(problems "")
string(REPLACE "," ", " numbers "${NUMBERS}")
foreach(field IN ITEMS FILEVERSION PRODUCTVERSION)
  string(REGEX MATCH "\n *${field} ([0-9, ]+)\n" found "${rc}")
  if(NOT CMAKE_MATCH_1 STREQUAL numbers)
    list(APPEND problems "${field} is '${CMAKE_MATCH_1}', not '${numbers}'")
  endif()
endforeach()

string(REPLACE "|" ";" texts "${TEXTS}")
foreach(text IN LISTS texts)
  string(REGEX MATCH "^([^=]+)=(.*)$" ignored "${text}")
  set(name "${CMAKE_MATCH_1}")
  set(value "${CMAKE_MATCH_2}")
  string(REGEX MATCH "VALUE \"${name}\", \"([^\"]*)\"" found "${rc}")
  if(NOT found)
    list(APPEND problems "no ${name}")
  elseif(NOT CMAKE_MATCH_1 STREQUAL value)
    list(APPEND problems "${name} is '${CMAKE_MATCH_1}', not '${value}'")
  endif()
endforeach()

if(problems)
  list(JOIN problems "; " text)
  message(FATAL_ERROR "${BINARY}: ${text}")
endif()
message(STATUS "${BINARY}: version ${numbers}, ${TEXTS}")
