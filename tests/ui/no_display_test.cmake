# Without a display the game says so in one line, with the way to run it headless.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM ${GAME}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
if(status EQUAL 0)
  message(FATAL_ERROR "the game started without a display")
endif()
if(NOT err MATCHES "^travoli: no display [^\n]*xvfb-run [^\n]*\n$")
  message(FATAL_ERROR "unexpected message without a display:\n${err}")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "unexpected output: ${out}")
endif()
