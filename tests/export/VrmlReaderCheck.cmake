cmake_minimum_required(VERSION 3.25)
# Reads VRML worlds with tovrmlx3d, which warns on stderr and exits 0 all the
# same: the sample cave's world (passage bodies and frame) must be read
# without a word and written back with every passage body; so must the world
# of an empty document, where the three prototypes stand unused because there
# is neither a body nor a frame.
# Run as: cmake -DCLI=<hollowplan-cli> -DDOC=<document> -DWORK=<folder> -P VrmlReaderCheck.cmake
find_program(TOVRMLX3D tovrmlx3d)
if(NOT TOVRMLX3D)
  message("tovrmlx3d absent: check skipped")
  return()
endif()
file(MAKE_DIRECTORY ${WORK})

function(count_in text pattern result)
  string(REGEX MATCHALL "${pattern}" found "${text}")
  list(LENGTH found n)
  set(${result} ${n} PARENT_SCOPE)
endfunction()

# Exports `doc` as `name` and reads it back; `bodies` receives the passage
# bodies written and `read` those tovrmlx3d writes back.
function(export_and_read doc name bodies read)
  file(REMOVE ${WORK}/${name})
  execute_process(COMMAND ${CLI} export ${doc} ${WORK}/${name} --display-type 5 RESULT_VARIABLE status
                  ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "export of ${name} failed: ${err}")
  endif()
  execute_process(COMMAND ${TOVRMLX3D} ${WORK}/${name} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "tovrmlx3d complains about ${name}: ${err}")
  endif()
  file(READ ${WORK}/${name} written)
  count_in("${written}" "\n *Gang {" n)
  set(${bodies} ${n} PARENT_SCOPE)
  count_in("${out}" "\n[ \t]*Gang {" n)
  set(${read} ${n} PARENT_SCOPE)
endfunction()

export_and_read(${DOC} cave.wrl bodies read)
if(bodies EQUAL 0 OR NOT read EQUAL bodies)
  message(FATAL_ERROR "cave.wrl: ${bodies} passage bodies written, tovrmlx3d read ${read}")
endif()

execute_process(COMMAND ${CLI} new -o ${WORK}/empty.hpn RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot make an empty document: ${err}")
endif()
export_and_read(${WORK}/empty.hpn empty.wrl none read)
message("tovrmlx3d reads the sample cave's world (${bodies} passage bodies) and an empty world")
