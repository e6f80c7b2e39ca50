# Builds the release package as a developer does (the `package` target) over a release
# folder holding a stray file, and checks it: exactly the four release files, INSTALL.txt
# with both regsvr32 commands, and SHA256SUMS that sha256sum -c accepts for both binaries.
# Usage: cmake -DBUILD_DIR=<build tree> -DRELEASE_DIR=<dir> -DSETUP_NAME=<file name> -P package_test.cmake
file(MAKE_DIRECTORY "${RELEASE_DIR}")
file(WRITE "${RELEASE_DIR}/left-from-an-earlier-package.txt" "stale\n")

execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target package
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the package failed:\n${output}")
endif()

file(GLOB names RELATIVE "${RELEASE_DIR}" "${RELEASE_DIR}/*")
list(SORT names)
set(expected INSTALL.txt "${SETUP_NAME}" QuillmarkInExcel.dll SHA256SUMS)
list(SORT expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "the release folder holds [${names}], not [${expected}]")
endif()

file(READ "${RELEASE_DIR}/INSTALL.txt" install_text)
foreach(command IN ITEMS "regsvr32 /n /i:user \"%LOCALAPPDATA%\\Quillmark in Excel\\QuillmarkInExcel.dll\""
                         "regsvr32 /u /n /i:user \"%LOCALAPPDATA%\\Quillmark in Excel\\QuillmarkInExcel.dll\""
                         "${SETUP_NAME}")
  string(FIND "${install_text}" "${command}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "INSTALL.txt does not say: ${command}")
  endif()
endforeach()
# In bytes: file(READ) without HEX turns CRLF into LF. A line feed after anything but CR:
file(READ "${RELEASE_DIR}/INSTALL.txt" install_bytes HEX)
string(REGEX REPLACE "(..)" "\\1 " install_bytes "${install_bytes}")
string(REGEX MATCH "(^|[0-9a-f][0-9a-ce-f] |[1-9a-f]d )0a " bare_line_end "${install_bytes}")
if(bare_line_end)
  message(FATAL_ERROR "INSTALL.txt has a line not ended with CRLF (Notepad on Windows XP shows one long line)")
endif()

file(STRINGS "${RELEASE_DIR}/SHA256SUMS" sums)
list(LENGTH sums count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "SHA256SUMS has ${count} lines, not one for each of the two binaries")
endif()
execute_process(COMMAND sha256sum --check --strict SHA256SUMS WORKING_DIRECTORY "${RELEASE_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "sha256sum -c SHA256SUMS failed:\n${output}")
endif()
foreach(binary IN ITEMS "${SETUP_NAME}" QuillmarkInExcel.dll)
  string(FIND "${output}" "${binary}: OK" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "SHA256SUMS does not cover ${binary}:\n${output}")
  endif()
endforeach()
message(STATUS "release package: ${names}")
