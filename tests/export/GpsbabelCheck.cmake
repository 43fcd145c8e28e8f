cmake_minimum_required(VERSION 3.25)
# Reads the GPX, the KML and the overlay of the sample cave with gpsbabel:
# each must be read without a complaint, the GPX with every waypoint written
# and the overlay with the two points of every symbol.
# Run as: cmake -DCLI=<hollowplan-cli> -DDOC=<document> -DWORK=<folder> -P GpsbabelCheck.cmake
find_program(GPSBABEL gpsbabel)
if(NOT GPSBABEL)
  message("gpsbabel absent: check skipped")
  return()
endif()
file(MAKE_DIRECTORY ${WORK})

function(count_in file pattern result)
  file(READ ${file} text)
  string(REGEX MATCHALL "${pattern}" found "${text}")
  list(LENGTH found n)
  set(${result} ${n} PARENT_SCOPE)
endfunction()

function(export_and_read name format expected_points)
  execute_process(COMMAND ${CLI} export ${DOC} ${WORK}/${name} ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "export of ${name} failed: ${err}")
  endif()
  execute_process(COMMAND ${GPSBABEL} -i ${format} -f ${WORK}/${name} -o csv -F ${WORK}/${name}.csv
                  RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "gpsbabel complains about ${name}: ${err}")
  endif()
  if(expected_points GREATER_EQUAL 0)
    count_in(${WORK}/${name}.csv "\n" count)
    if(NOT count EQUAL expected_points)
      message(FATAL_ERROR "${name}: gpsbabel read ${count} points, ${expected_points} written")
    endif()
  endif()
endfunction()


export_and_read(cave.gpx gpx -1 --set GPXSelect=1 --set GPXUmlaute=0)
count_in(${WORK}/cave.gpx "<wpt " waypoints)
export_and_read(cave.gpx gpx ${waypoints} --set GPXSelect=1 --set GPXUmlaute=0)
export_and_read(cave.kml kml -1 --set GEPoint=1 --set GEPointNumber=1)
export_and_read(cave.ovl ggv_ovl -1)
count_in(${WORK}/cave.ovl "Typ=3" symbols)
math(EXPR points "2 * ${symbols}")
export_and_read(cave.ovl ggv_ovl ${points})
message("gpsbabel reads the GPX (${waypoints} waypoints), the KML and the overlay (${symbols} symbols)")
