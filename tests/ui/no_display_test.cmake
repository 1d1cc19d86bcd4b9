# Without a desktop session the game and play.sh each say so in one line and stop; play.sh
# before it installs or builds anything.
#   cmake -DGAME=path/to/travoli -DPLAY=path/to/play.sh -DWORK=scratch-dir -P no_display_test.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# A copy of play.sh in an empty tree: anything it went on to do would fail there or leave
# a trace.
file(COPY ${PLAY} DESTINATION ${WORK})
foreach(program ${GAME} ${WORK}/play.sh)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                          --unset=QT_QPA_PLATFORM ${program}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT status EQUAL 1)
    message(FATAL_ERROR "${program} without a display ended with '${status}', not 1:\n${out}${err}")
  endif()
  if(NOT err MATCHES "^travoli: the game needs a graphical desktop session[^\n]*\n$")
    message(FATAL_ERROR "${program}: unexpected message without a display:\n${err}")
  endif()
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "${program}: unexpected output: ${out}")
  endif()
endforeach()
# --help and --version answer on stdout without any display.
foreach(option "--help|^usage: travoli \\[--help [^\n]+\n\n[^\n]+\n" "--version|^travoli [0-9]+\\.[0-9]+\\.[0-9]+\n$")
  string(REPLACE "|" ";" option "${option}")
  list(GET option 0 name)
  list(GET option 1 pattern)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                          --unset=QT_QPA_PLATFORM ${GAME} ${name}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT status EQUAL 0 OR NOT out MATCHES "${pattern}" OR NOT err STREQUAL "")
    message(FATAL_ERROR "travoli ${name} without a display: status ${status}\n${out}${err}")
  endif()
endforeach()
# An argument the game does not take is refused with the usage, before any window opens.
file(MAKE_DIRECTORY ${WORK}/runtime)
file(CHMOD ${WORK}/runtime PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        XDG_RUNTIME_DIR=${WORK}/runtime XDG_CONFIG_HOME=${WORK}/config ${GAME} --frobnicate
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
if(NOT status EQUAL 2 OR NOT err MATCHES "^travoli: unknown argument '--frobnicate'\nusage: travoli ")
  message(FATAL_ERROR "travoli --frobnicate: status ${status}\n${out}${err}")
endif()
file(REMOVE_RECURSE ${WORK}/config ${WORK}/runtime)

file(GLOB left RELATIVE ${WORK} ${WORK}/*)
if(NOT left STREQUAL "play.sh")
  message(FATAL_ERROR "play.sh left files behind without a display: ${left}")
endif()
