# Runs quillmark on a script that must fail and checks that the failure names its cause.
execute_process(COMMAND "${RUNNER}" "${SCRIPT}" RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE err)
if(code EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} passed but must fail")
endif()
string(FIND "${err}" "${MESSAGE}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the failure of ${SCRIPT} does not say \"${MESSAGE}\":\n${err}")
endif()
