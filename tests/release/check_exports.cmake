# Fails unless a Windows DLL exports exactly the named functions, undecorated (a 32-bit DLL
# built without care exports DllGetClassObject@12, which COM and regsvr32 cannot find).
# Usage: cmake -DOBJDUMP=<objdump> -DBINARY=<dll> -DEXPORTS=<f1,f2> -P check_exports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${OBJDUMP}" -p "${BINARY}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the export table of ${BINARY}")
endif()

# The names follow "[Ordinal/Name Pointer] Table", one "\t[   0] Name" line each.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${BINARY} exports nothing")
endif()
string(SUBSTRING "${dump}" ${at} -1 table)
string(REGEX MATCH "^[^\n]*\n((\t\\[ *[0-9]+\\] [^\n]*\n)*)" table "${table}")
# The names alone, as a list (brackets would confuse CMake's lists).
string(REGEX REPLACE "\t\\[ *[0-9]+\\] ([^\n]*)\n" "\\1;" names "${CMAKE_MATCH_1}")
list(REMOVE_ITEM names "")

string(REPLACE "," ";" expected "${EXPORTS}")
list(SORT expected)
list(SORT names)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${BINARY} exports [${names}], not [${expected}]")
endif()
message(STATUS "${BINARY} exports ${names}")
