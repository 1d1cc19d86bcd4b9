# Without a desktop session play.sh says so in one line and stops before installing or
# building anything.
#   cmake -DPLAY=path/to/play.sh -DWORK=scratch-dir -P play_no_display_test.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# A copy of the script in an empty tree: anything it went on to do would fail there or leave
# a trace.
file(COPY ${PLAY} DESTINATION ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM ${WORK}/play.sh
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "play.sh without a display ended with '${status}', not 1:\n${out}${err}")
endif()
if(NOT err MATCHES "^travoli: the game needs a graphical desktop session[^\n]*\n$")
  message(FATAL_ERROR "unexpected message without a display:\n${err}")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "unexpected output: ${out}")
endif()
file(GLOB left RELATIVE ${WORK} ${WORK}/*)
if(NOT left STREQUAL "play.sh")
  message(FATAL_ERROR "play.sh left files behind without a display: ${left}")
endif()
