# Shared by the tests that run travoli-tool for real (cmake -P scripts; TOOL names it).

# Runs TOOL with the arguments; fails unless it exits with `expected_status`. Leaves its
# standard output in `out` and its standard error in `err`.
function(run expected_status)
  # A hang is a failure too.
  execute_process(COMMAND ${TOOL} ${TOOL_PREFIX} ${ARGN} TIMEOUT 20
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "travoli-tool ${TOOL_PREFIX} ${ARGN}: status ${status}, expected ${expected_status}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_match text pattern what)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what}: no match for '${pattern}' in:\n${text}")
  endif()
endfunction()
