# A scenario through the real add-in DLL must show the user what the simulated run shows:
# runs quillmark on SCRIPT without and with --via-com (DLL), both must pass, and their
# transcripts must be the same line for line, except the lines of a window dump (the real
# windows measure text with the system's fonts) and where an SVG was written.
# Usage: cmake -DRUNNER=<quillmark.exe> -DDLL=<dll> -DSCRIPT=<script> [-DEMULATOR=a,b,c] -P compare_via_com.cmake
string(REPLACE "," ";" emulator "${EMULATOR}")

function(run_transcript out)
  execute_process(COMMAND ${emulator} "${RUNNER}" ${ARGN} "${SCRIPT}"
                  OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "quillmark ${ARGN} ${SCRIPT} failed (${code}):\n${text}\n${errors}")
  endif()
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REGEX REPLACE "> window dump\n(  [^\n]*\n)*" "> window dump\n" text "${text}")
  string(REGEX REPLACE "  \\[svg\\] [^\n]*\n" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

run_transcript(simulated)
run_transcript(real --via-com --dll "${DLL}")
if(NOT simulated STREQUAL real)
  get_filename_component(stem "${SCRIPT}" NAME_WE)
  file(WRITE "${stem}.simulated.txt" "${simulated}")
  file(WRITE "${stem}.via-com.txt" "${real}")
  # The first line that differs, to say where.
  string(LENGTH "${simulated}" a)
  string(LENGTH "${real}" b)
  set(line 1)
  set(i 0)
  while(i LESS a AND i LESS b)
    string(SUBSTRING "${simulated}" ${i} 1 x)
    string(SUBSTRING "${real}" ${i} 1 y)
    if(NOT x STREQUAL y)
      break()
    endif()
    if(x STREQUAL "\n")
      math(EXPR line "${line} + 1")
    endif()
    math(EXPR i "${i} + 1")
  endwhile()
  message(FATAL_ERROR "the transcripts of ${SCRIPT} differ from line ${line} of the filtered transcript: "
                      "see ${stem}.simulated.txt and ${stem}.via-com.txt")
endif()
