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
run(0 --file ${hive} set --force "#ROOT" quote "a\"b\\c")
run(0 --file ${hive} dump)
expect_match("${out}" "\\[Software\\\\ZanfirGames\\\\Travoli\\\\V2\\]\nquote REG_SZ \"a\\\\\"b\\\\\\\\c\"\n" "dump of the base key")
expect_match("${out}" "\\[Software\\\\ZanfirGames\\\\Travoli\\\\V2\\\\common\\]\nlevel REG_SZ \"12\"\ntongue REG_SZ \"1\"\n" "dump of common")

run(0 --file ${hive} delete common level)
run(0 --file ${hive} delete common level)
run(2 --file ${hive} get common level)

foreach(bad "" "frob" "get;a" "set;a;b" "delete;a;b;c" "dump;x" "--file" "--force;get;a;b")
  run(2 ${bad})
  expect_match("${err}" "^travoli-tool: settings[^\n]+\nusage: travoli-tool settings " "error for '${bad}'")
endforeach()

# set takes the game's own values only as the game would have written them, and refuses
# anything else with a reason before the file is touched; --force writes it as given.
file(SHA256 ${hive} before)
foreach(good "common;level;225" "common;level; +0x0C" "Common;back;5" "common;sound;0"
             "COMMON;tongue;--;-1" "common;tongue;1" "common;MainForm;200,0,1,-10,20,327,425"
             " ;level;3")
  run(0 --file ${hive} set ${good})
endforeach()
run(0 --file ${hive} get common level)
expect_match("${out}" "^3\n$" "a blank section is common")
file(SHA256 ${hive} before)
foreach(bad "common;level;abc|level: 'abc' is not a level from 1 to 225"
            "common;level;0|level: '0' is not a level" "common;level;226|level: '226'"
            "common;level;12 |level: '12 '" "common;back;6|back: '6' is not a background"
            "common;sound;2|sound: '2' is not the sound switch" "common;sound;yes|sound: 'yes'"
            "common;tongue;2|tongue: '2' is not a language"
            "common;MainForm;200,1,2,3|MainForm: a placement is \"200\" and six integers"
            "common;MainForm;201,0,1,10,20,347,425|MainForm: a placement"
            "common;MainForm;200,0,1,x,20,347,425|MainForm: 'x' is not an integer"
            "common;solution;abc|solution: the results are 225 characters, one per level, not 3"
            "nosuch;level;7|the game keeps no section 'nosuch'"
            "common;nosuch;7|the game keeps no value 'nosuch' in section 'common'"
            "#ROOT;quote;x|the game keeps no section '#ROOT'")
  string(REPLACE "|" ";" bad "${bad}")
  list(POP_BACK bad reason)
  run(2 --file ${hive} set ${bad})
  expect_match("${err}" "^travoli-tool: settings set: ${reason}[^\n]* \\(--force writes it as given\\)\n$" "set ${bad}")
endforeach()
file(SHA256 ${hive} after)
if(NOT after STREQUAL before)
  message(FATAL_ERROR "a refused set changed ${hive}")
endif()
run(0 --file ${hive} set nosuch level 7 --force)
run(0 --file ${hive} get NOSUCH level)
expect_match("${out}" "^7\n$" "forced value")

# progress: the best results beside the shortest solutions, read only. Level 1 at its shortest
# (25), level 32 two above (20 for 18), level 27, which has no solution, with a stored result.
string(ASCII 57 at_shortest)
string(ASCII 52 two_above)
string(REPEAT " " 25 head)
string(REPEAT " " 4 middle)
string(REPEAT " " 193 tail)
set(results "${at_shortest}${head}5${middle}${two_above}${tail}")
run(0 --file ${hive} set common solution "${results}")
string(ASCII 1 control)
string(REPLACE "5" "${control}" broken "${results}")
run(2 --file ${hive} set common solution "${broken}")
expect_match("${err}" "solution: the result of level 27 is no move count" "a result below 1")
file(SHA256 ${hive} before)
set(TOOL_PREFIX)
run(0 progress --file ${hive})
expect_match("${out}" "^level  best  shortest  difference\n    1    25        25          \\+0\n    2     -        [0-9]+           -\n" "progress head")
expect_match("${out}" "\n   27    21      none  impossible\n" "progress of a level without solution")
expect_match("${out}" "\n   32    20        18          \\+2\n" "progress of level 32")
expect_match("${out}" "\n  225     -        [0-9a-z]+           -\n3 of 225 levels solved, 1 at the shortest solution; 2 moves above it in all\n1 stored result below the shortest solution, which no play can reach\n$" "progress summary")
run(0 progress --unsolved --file ${hive})
expect_match("${out}" "^level  best  shortest  difference\n    2     -  " "unsolved only")
if(out MATCHES "\n +(1|27|32)  ")
  message(FATAL_ERROR "progress --unsolved lists a solved level:\n${out}")
endif()
file(SHA256 ${hive} after)
if(NOT after STREQUAL before)
  message(FATAL_ERROR "progress changed ${hive}")
endif()
run(0 progress --file ${WORK}/none/registry.sqlite3)
expect_match("${out}" "\n0 of 225 levels solved, 0 at the shortest solution; 0 moves above it in all\n$" "no file, no progress")
if(EXISTS ${WORK}/none)
  message(FATAL_ERROR "progress created ${WORK}/none")
endif()
set(TOOL_PREFIX settings)

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
  foreach(action "settings;dump" "settings;get;common;level" "settings;set;common;level;3"
                 "settings;delete;common;level" "progress")
    if(kind STREQUAL "locked")
      execute_process(COMMAND ${HOLDER} lock ${hive} 60 -- ${TOOL} ${action} --file ${hive}
                      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    else()
      execute_process(COMMAND ${TOOL} ${action} --file ${hive}
                      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    endif()
    if(NOT status EQUAL 2)
      message(FATAL_ERROR "${kind}: ${action}: status ${status}, expected 2\n${out}${err}")
    endif()
    expect_match("${err}" "^travoli-tool: (settings [a-z]+|progress): [^\n]*${pattern}[^\n]*\n$" "${kind} ${action}")
    expect_untouched(${hive} ${sum} "${kind}: ${action}")
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

# Whatever lies in the hive's place that is not a regular file is refused by every action at
# once, never opened, and stays as it was: nothing is made through a link or beside a device.
function(refuse_special kind path pattern)
  foreach(action "dump" "get;common;level" "set;common;level;3" "delete;common;level")
    run(2 --file ${path} ${action})
    expect_match("${err}" "^travoli-tool: settings [a-z]+: [^\n]*${pattern}[^\n]*\n$" "${kind} ${action}")
  endforeach()
endfunction()
file(REMOVE_RECURSE ${WORK}/special)
file(MAKE_DIRECTORY ${WORK}/special/folder)
execute_process(COMMAND mkfifo ${WORK}/special/fifo)
file(CREATE_LINK /dev/null ${WORK}/special/device SYMBOLIC)
file(CREATE_LINK ${WORK}/special/gone/registry.sqlite3 ${WORK}/special/dangling SYMBOLIC)
refuse_special("FIFO" ${WORK}/special/fifo "not a regular file \\(a FIFO\\)")
refuse_special("device" /dev/zero "not a regular file \\(a device\\)")
refuse_special("link to a device" ${WORK}/special/device "not a regular file \\(a device\\)")
refuse_special("directory" ${WORK}/special/folder "not a regular file \\(a directory\\)")
foreach(action "set;common;level;3" "delete;common;level")
  run(2 --file ${WORK}/special/dangling ${action})
  expect_match("${err}" "a link to a file that is not there" "dangling link ${action}")
endforeach()
file(GLOB beside ${WORK}/special/* ${WORK}/special/.*)
list(SORT beside)
set(want ${WORK}/special/dangling ${WORK}/special/device ${WORK}/special/fifo ${WORK}/special/folder)
if(NOT beside STREQUAL want OR EXISTS /dev/null-journal)
  message(FATAL_ERROR "a refused file got company: ${beside}")
endif()

# An empty file is no hive, and the tool does not make it one.
file(WRITE ${WORK}/special/empty "")
run(2 --file ${WORK}/special/empty set common level 3)
expect_match("${err}" "an empty file, not a settings file; it was left as it is" "empty file")
file(SIZE ${WORK}/special/empty size)
if(NOT size EQUAL 0)
  message(FATAL_ERROR "the empty file was turned into a hive")
endif()

# A save that died halfway leaves its journal: the tool rolls it back as SQLite does and reads
# what was saved before.
file(REMOVE ${hive})
run(0 --file ${hive} set common level 12)
execute_process(COMMAND ${HOLDER} crash ${hive})
if(NOT EXISTS ${hive}-journal)
  message(FATAL_ERROR "the crash left no journal")
endif()
run(0 --file ${hive} get common level)
expect_match("${out}" "^12\n$" "the level before the crash")
if(EXISTS ${hive}-journal)
  message(FATAL_ERROR "the journal was not rolled back")
endif()

# As a user whom file modes bind: a hive that may not be written is refused and stays as it is.
file(CHMOD ${hive} PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
file(SHA256 ${hive} sum)
set(TOOL ${RUNAS} ${TOOL})
run(2 --file ${hive} set common level 5)
expect_match("${err}" "^travoli-tool: settings set: [^\n]*readonly[^\n]*\n$" "read-only hive")
run(0 --file ${hive} get common level)
expect_match("${out}" "^12\n$" "the read-only hive's level")
file(SHA256 ${hive} now)
if(NOT now STREQUAL sum)
  message(FATAL_ERROR "the read-only hive changed")
endif()
