# Runs travoli-tool records/chunk on the built records and on broken input.
#   -DTOOL=... -DASSETS=... -DWORK=...
include(${CMAKE_CURRENT_LIST_DIR}/../../cli_test_support.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/nopayload.rec "$abcd")  # flags 0x24: an ident, a colour depth, no payload

run(0 records info ${ASSETS}/records/background_sheet.rec)
expect_match("${out}" "^flags: 0x0D \\(compressed, ident, payload\\)\ndescription: \\(none\\)\nident: 1\n" "background header")
expect_match("${out}" "payload: image, 99382 bytes \\(BMP 768 x 128, 8 bits per pixel\\)\n" "background payload")
expect_match("${out}" "in 4 chunks\n(chunk [1-3]: coded, [0-9]+ bytes -> 32781 bytes\n)+chunk 4: [a-z]+, [0-9]+ bytes -> 1039 bytes\n$" "background chunks")
run(0 records info ${ASSETS}/records/sound_refused.rec)
expect_match("${out}" "flags: 0x0C \\(ident, payload\\)\n.*payload: sound, 6830 bytes \\(RIFF WAVE\\)\nstored: uncompressed, 6830 bytes\n$" "refused sound")

# Unpack and pack back give the very same files.
foreach(pair "tile_sheet;--image;0" "sound_solved;--sound;4")
  list(GET pair 0 name)
  list(GET pair 1 kind)
  list(GET pair 2 ident)
  run(0 records unpack ${ASSETS}/records/${name}.rec ${WORK}/${name}.payload)
  file(SHA256 ${WORK}/${name}.payload got)
  file(GLOB source ${ASSETS}/${name}.*)
  list(FILTER source EXCLUDE REGEX "\\.rec$")
  file(SHA256 ${source} want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "unpacked ${name} differs from ${source}")
  endif()
  run(0 records pack --compressed --ident ${ident} ${kind} ${WORK}/${name}.payload ${WORK}/${name}.rec)
  file(SHA256 ${WORK}/${name}.rec got)
  file(SHA256 ${ASSETS}/records/${name}.rec want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "packed ${name} differs from the built record")
  endif()
endforeach()

run(0 records pack --description "Move" --sound ${ASSETS}/sound_move.wav ${WORK}/described.rec)
run(0 records info ${WORK}/described.rec)
run(0 records info ${WORK}/nopayload.rec)
expect_match("${out}" "flags: 0x24 \\(ident, 16 colours\\)\ndescription: \\(none\\)\nident: 25185\npayload: none\n$" "record without payload")
run(0 records info ${WORK}/described.rec)
expect_match("${out}" "flags: 0x0A \\(description, payload\\)\ndescription: \"Move\"\nident: 0\n" "described record")

# Broken input: a clear one-line error (and the usage after a wrong call), status 2, and the
# target left alone.
file(WRITE ${WORK}/keep.rec "keep")
foreach(bad
    "records;info;${WORK}/missing.rec"
    "records;info;${ASSETS}/sound_move.wav"
    "records;unpack;${WORK}/nopayload.rec;${WORK}/out"
    "records;pack;--image;${ASSETS}/sound_move.wav;${WORK}/keep.rec"
    "records;pack;--sound;${ASSETS}/tile_sheet.bmp;${WORK}/keep.rec"
    "records;pack;--ident;65536;--sound;${ASSETS}/sound_move.wav;${WORK}/keep.rec"
    "records;pack;--sound;--image;${ASSETS}/sound_move.wav;${WORK}/keep.rec"
    "records;frobnicate"
    "chunk;squeeze")
  run(2 ${bad})
  expect_match("${err}" "^travoli-tool: [^\n]+\n(usage: [^\n]+\n(       [^\n]+\n)*)?$" "error for '${bad}'")
endforeach()
# A record that would decode past the payload limit is refused before it gets that far.
run(2 records unpack ${SEEDS}/past_the_limit.rec ${WORK}/keep.rec)
expect_match("${err}" "^travoli-tool: records unpack: the payload decodes past the limit of 16777216 bytes\n$" "past the limit")
run(2 records unpack ${WORK}/nopayload.rec ${WORK}/keep.rec)
expect_match("${err}" "holds no payload" "unpack without payload")
file(READ ${WORK}/keep.rec kept)
if(NOT kept STREQUAL "keep")
  message(FATAL_ERROR "a failed command changed its target")
endif()

# OUT is written through a new file of its own: a link planted at the name the tool once
# used for its temporary file is never followed.
file(WRITE ${WORK}/victim "precious")
file(CREATE_LINK ${WORK}/victim ${WORK}/planted.payload.part SYMBOLIC)
run(0 records unpack ${ASSETS}/records/sound_solved.rec ${WORK}/planted.payload)
file(READ ${WORK}/victim victim)
file(SHA256 ${WORK}/planted.payload got)
file(SHA256 ${ASSETS}/sound_solved.wav want)
if(NOT victim STREQUAL "precious" OR NOT got STREQUAL want)
  message(FATAL_ERROR "the planted link's target changed, or OUT is not the payload")
endif()
file(GLOB left ${WORK}/.planted*)
if(left)
  message(FATAL_ERROR "a temporary file was left behind: ${left}")
endif()

# Special files, as a user whom file modes bind (as root a replaced /dev/null would be the
# machine's): nothing but a regular file is read, or written over, and each is refused at once.
execute_process(COMMAND mkfifo ${WORK}/fifo)
file(MAKE_DIRECTORY ${WORK}/folder ${WORK}/closed)
file(CHMOD ${WORK}/closed DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CREATE_LINK ${WORK}/victim ${WORK}/link SYMBOLIC)
set(TOOL ${RUNAS} ${TOOL})
set(record ${ASSETS}/records/sound_solved.rec)
foreach(case
    "/dev/zero;a device" "${WORK}/fifo;a FIFO" "${WORK}/folder;a directory")
  list(GET case 0 path)
  list(GET case 1 kind)
  foreach(command "info;${path}" "unpack;${path};${WORK}/closed/out"
                  "pack;--sound;${path};${WORK}/closed/out")
    run(2 records ${command})
    expect_match("${err}" "^travoli-tool: records [a-z]+: ${path} is not a regular file \\(${kind}\\)\n$"
                 "records ${command}")
  endforeach()
endforeach()
foreach(case "/dev/null;a device" "${WORK}/fifo;a FIFO" "${WORK}/folder;a directory"
             "${WORK}/link;a symbolic link")
  list(GET case 0 path)
  list(GET case 1 kind)
  foreach(command "unpack;${record};${path}" "pack;--sound;${ASSETS}/sound_solved.wav;${path}")
    run(2 records ${command})
    expect_match("${err}" "^travoli-tool: records [a-z]+: ${path} is not a regular file \\(${kind}\\)\n$"
                 "records ${command}")
  endforeach()
endforeach()
execute_process(COMMAND test -c /dev/null -a -p ${WORK}/fifo -a -L ${WORK}/link RESULT_VARIABLE status)
file(READ ${WORK}/victim victim)
if(NOT status EQUAL 0 OR NOT victim STREQUAL "precious")
  message(FATAL_ERROR "a refused OUT was changed")
endif()
# A folder that may not be written: a clear error, and nothing left in it.
run(2 records unpack ${record} ${WORK}/closed/out)
expect_match("${err}" "^travoli-tool: records unpack: cannot write ${WORK}/closed/out: [^\n]+\n$" "closed folder")
file(GLOB left ${WORK}/closed/* ${WORK}/closed/.*)
if(left)
  message(FATAL_ERROR "files left in a folder that may not be written: ${left}")
endif()

# Standard input is read only as far as one piece or chunk reaches.
foreach(action encode decode)
  execute_process(COMMAND ${TOOL} chunk ${action} INPUT_FILE /dev/zero TIMEOUT 20
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 2)
    message(FATAL_ERROR "chunk ${action} </dev/zero: status ${status}\n${err}")
  endif()
  expect_match("${err}" "^travoli-tool: chunk ${action}: the input holds more than 32782 bytes\n$" "chunk ${action}")
endforeach()
