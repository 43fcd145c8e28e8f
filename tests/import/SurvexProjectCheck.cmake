cmake_minimum_required(VERSION 3.25)
# Processes the multi-file Survex project of the test data with cavern and
# checks the network it reports, so a file that is missing or changed shows
# up before an import relies on it. Skipped without cavern (package survex).
# Run as: cmake -DSVX=<all.svx> -DWORK=<folder> -P SurvexProjectCheck.cmake
find_program(CAVERN cavern)
if(NOT CAVERN)
  message("cavern absent: Survex project check skipped")
  return()
endif()
if(NOT EXISTS ${SVX})
  message("Survex project absent (${SVX}): check skipped")
  return()
endif()
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANG=C LANGUAGE= ${CAVERN} -o ${WORK}/all.3d ${SVX}
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR err MATCHES "error")
  message(FATAL_ERROR "cavern failed (${status}):\n${out}\n${err}")
endif()
foreach(expected "Survey contains 5243 survey stations, joined by 5259 legs." "There are 28 loops."
                 "Total length of survey legs = 5491.54m")
  string(FIND "${out}" "${expected}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "cavern does not report \"${expected}\":\n${out}")
  endif()
endforeach()
message("Survex project: 5243 stations, 5259 legs, 28 loops, 5491.54 m")
