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

# A damaged file is moved aside, never overwritten.
file(WRITE ${hive} "not a database")
run(0 --file ${hive} set common level 3)
expect_match("${err}" "was not a readable settings file; it was moved to [^\n]+registry.sqlite3.damaged-[0-9]+-[0-9]+ " "damaged notice")
file(GLOB moved ${WORK}/sub/registry.sqlite3.damaged-*)
file(READ "${moved}" kept)
if(NOT kept STREQUAL "not a database")
  message(FATAL_ERROR "the damaged file was not kept: '${kept}'")
endif()
run(0 --file ${hive} get common level)
expect_match("${out}" "^3\n$" "fresh hive")
