# Runs travoli-tool and checks its output and exit status.
include(${CMAKE_CURRENT_LIST_DIR}/../cli_test_support.cmake)

run(0 levels)
expect_match("${out}" "205 of 225 levels solvable, shortest solutions 18 to 33 moves; unsolvable: 27, 28, 31, 59, 75, 76, 79, 83, 84, 87, 89, 90, 91, 103, 111, 117, 147, 187, 195, 201\n$" "levels summary")
expect_match("${out}" "level 1  code 0  board 2 2 2 / 1 6 1 / 0 0 0  shortest 25\n" "level 1 line")
expect_match("${out}" "level 27  code 26  board [0-6 /]+  shortest none\n" "level 27 line")

run(0 solve 32)
string(REGEX MATCHALL "\\([0-2],[0-2]\\)\n" presses "${out}")
list(LENGTH presses count)
if(NOT count EQUAL 18)
  message(FATAL_ERROR "solve 32 printed ${count} presses:\n${out}")
endif()
run(0 solve 32 --verbose)
expect_match("${out}" "0 0 0 / [0-6] [0-6] [0-6] / 5 5 5\n$" "solve 32 --verbose last board")

run(0 solve -v 32)
expect_match("${out}" "^start  [0-6] [0-6] [0-6] / [0-6 /]+\n\\([0-2],[0-2]\\)  " "solve -v 32 first board")

run(0 --help)
expect_match("${out}" "^usage: travoli-tool COMMAND" "help")
set(general "${out}")
run(0 help)
if(NOT out STREQUAL general)
  message(FATAL_ERROR "'help' differs from '--help':\n${out}")
endif()
run(0 --version)
expect_match("${out}" "^travoli-tool [0-9]+\\.[0-9]+\\.[0-9]+\n$" "version")

# Every command's help: the same from `help COMMAND` and `COMMAND --help` (or -h), on stdout,
# its usage first and its options described.
foreach(command levels solve progress records chunk settings help)
  run(0 help ${command})
  set(help "${out}")
  expect_match("${help}" "^usage: travoli-tool ${command}[^\n]*\n" "help ${command}")
  expect_match("${general}" "\n  ${command} " "--help lists ${command}")
  foreach(asked "--help" "-h")
    run(0 ${command} ${asked})
    if(NOT out STREQUAL help OR NOT err STREQUAL "")
      message(FATAL_ERROR "'${command} ${asked}' differs from 'help ${command}':\n${out}${err}")
    endif()
  endforeach()
endforeach()
run(0 settings --help)
expect_match("${out}" "--force" "settings help names --force")

# A wrong call: nothing on stdout, the reason and the usage of the command on stderr, status 2.
foreach(case
    "solve;0|solve" "solve;226|solve" "solve;abc|solve" "solve|solve" "solve;1;2|solve"
    "solve;--frob;1|solve" "solve;--verbose=yes;1|solve" "solve;-x;1|solve" "solve;--;--help|solve"
    "levels;extra|levels" "levels;--verbose|levels"
    "progress;extra|progress" "progress;--file|progress" "progress;--file=|progress"
    "chunk|chunk" "chunk;squeeze|chunk"
    "records|records" "records;info|records" "records;info;--compressed;x|records"
    "records;pack;--ident;65536;--sound;a;b|records" "records;pack;--sound;--image;a;b|records"
    "settings|settings" "settings;dump;--force|settings" "settings;--nosuch;dump|settings"
    "help;nosuch|help" "help;solve;levels|help"
    "frobnicate|COMMAND" "--frob|COMMAND" "|COMMAND" "-x|COMMAND")
  string(REPLACE "|" ";" case "${case}")
  list(POP_BACK case usage)
  run(2 ${case})
  expect_match("${err}" "^travoli-tool: [^\n]+\nusage: travoli-tool ${usage}[^\n]*\n(       [^\n]+\n)*$" "wrong call '${case}'")
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "wrong call '${case}' wrote to stdout:\n${out}")
  endif()
endforeach()
run(2 solve --verbose=yes 1)
expect_match("${err}" "^travoli-tool: solve: option '--verbose' takes no value\n" "flag with a value")
run(2 frobnicate)
expect_match("${err}" "^travoli-tool: unknown command 'frobnicate'\n" "unknown command")

# Bash completion: the commands, then each command's actions and options (EMPTY: nothing typed
# yet).
foreach(case "travoli-tool;se|settings" "travoli-tool;--v|--version"
             "travoli-tool;chunk;EMPTY|encode decode --help" "travoli-tool;progress;--u|--unsolved"
             "travoli-tool;settings;--file;x;set;--f|--file --force" "travoli-tool;help;pro|progress"
             "travoli-tool;records;pack;--s|--sound")
  string(REPLACE "|" ";" case "${case}")
  list(POP_BACK case expected)
  execute_process(
    COMMAND bash -c [[source "$1"; shift; COMP_WORDS=("${@/#EMPTY/}"); COMP_CWORD=$(($# - 1)); _travoli_tool; echo "${COMPREPLY[*]}"]]
            completion ${COMPLETION} ${case}
    OUTPUT_VARIABLE completed ERROR_VARIABLE err OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT completed STREQUAL expected)
    message(FATAL_ERROR "completing '${case}' gave '${completed}', not '${expected}'\n${err}")
  endif()
endforeach()
