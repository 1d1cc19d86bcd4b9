# travoli-tool settings on a hive file of its own.
set(TOOL_PREFIX settings)
include(${CMAKE_CURRENT_LIST_DIR}/../cli_test_support.cmake)

file(REMOVE_RECURSE ${WORK})
set(hive ${WORK}/sub/registry.sqlite3)

# Reading a hive that is not there creates nothing.
run(2 --file ${hive} get common level)
expect_match("${err}" "^travoli-tool: settings get: no value 'level' in section 'common'\n$" "missing value")
run(0 --file ${hive} dump)
if(EXISTS ${WORK}/sub)
  message(FATAL_ERROR "a read created ${WORK}/sub")
endif()

run(0 --file ${hive} set common level 12)
run(0 set Common tongue 1 --file ${hive})
run(0 --file ${hive} get COMMON Level)
expect_match("${out}" "^12\n$" "get level")
run(0 --file ${hive} set "#ROOT" quote "a\"b\\c")
run(0 --file ${hive} dump)
expect_match("${out}" "\\[Software\\\\ZanfirGames\\\\Travoli\\\\V2\\]\nquote REG_SZ \"a\\\\\"b\\\\\\\\c\"\n" "dump of the base key")
expect_match("${out}" "\\[Software\\\\ZanfirGames\\\\Travoli\\\\V2\\\\common\\]\nlevel REG_SZ \"12\"\ntongue REG_SZ \"1\"\n" "dump of common")

run(0 --file ${hive} delete common level)
run(0 --file ${hive} delete common level)
run(2 --file ${hive} get common level)

foreach(bad "" "frob" "get;a" "set;a;b" "delete;a;b;c" "dump;x" "--file")
  run(2 ${bad})
  expect_match("${err}" "^travoli-tool: settings[^\n]+\n$" "error for '${bad}'")
endforeach()

# A file that is not a settings hive, or that another program holds locked, is refused by every
# action with one line that says why, and stays as it was: same bytes, same name, nothing beside.
function(expect_untouched path sum what)
  file(SHA256 ${path} now)
  if(NOT now STREQUAL sum)
    message(FATAL_ERROR "${what} changed ${path}")
  endif()
  file(GLOB beside ${WORK}/sub/*)
  if(NOT beside STREQUAL path)
    message(FATAL_ERROR "${what} left files beside ${path}: ${beside}")
  endif()
endfunction()

function(refuse_every_action kind pattern)
  file(SHA256 ${hive} sum)
  foreach(action "dump" "get;common;level" "set;common;level;3" "delete;common;level")
    if(kind STREQUAL "locked")
      execute_process(COMMAND ${HOLDER} lock ${hive} 60 -- ${TOOL} settings --file ${hive} ${action}
                      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    else()
      execute_process(COMMAND ${TOOL} settings --file ${hive} ${action}
                      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    endif()
    if(NOT status EQUAL 2)
      message(FATAL_ERROR "${kind}: settings ${action}: status ${status}, expected 2\n${out}${err}")
    endif()
    expect_match("${err}" "^travoli-tool: settings [a-z]+: [^\n]*${pattern}[^\n]*\n$" "${kind} ${action}")
    expect_untouched(${hive} ${sum} "${kind}: settings ${action}")
  endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK}/sub)
file(MAKE_DIRECTORY ${WORK}/sub)
file(WRITE ${hive} "[common]\nlevel=12\n")
refuse_every_action("text file" "registry.sqlite3: file is not a database")

file(REMOVE ${hive})
execute_process(COMMAND ${HOLDER} foreign ${hive} RESULT_VARIABLE status)
refuse_every_action("foreign database" "registry.sqlite3: not a settings file")

file(REMOVE ${hive})
run(0 --file ${hive} set common level 7)
refuse_every_action("locked" "registry.sqlite3: database is locked")
run(0 --file ${hive} get common level)
expect_match("${out}" "^7\n$" "the locked hive kept its value")
