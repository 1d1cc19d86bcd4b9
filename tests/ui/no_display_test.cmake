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
file(GLOB left RELATIVE ${WORK} ${WORK}/*)
if(NOT left STREQUAL "play.sh")
  message(FATAL_ERROR "play.sh left files behind without a display: ${left}")
endif()
