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

run(0 --help)
expect_match("${out}" "usage: travoli-tool" "help")

foreach(bad "solve;0" "solve;226" "solve;abc" "solve" "frobnicate" "levels;extra")
  run(2 ${bad})
  expect_match("${err}" "^travoli-tool: [^\n]+\n$" "error for '${bad}'")
endforeach()
