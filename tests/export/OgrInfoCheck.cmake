cmake_minimum_required(VERSION 3.25)
# Reads both kinds of DXF and the KML of the sample cave with GDAL's ogrinfo,
# which exits 0 even when it complains: its feature counts must equal the
# entities and placemarks written, and its messages are read.
# The block DXF refers to the blocks VM, HR and BH that the receiving drawing
# defines: read with its blocks inlined, ogrinfo names each of them as missing
# and drops those inserts (with their attributes); read as inserts, it takes
# every entity without a word.
# Run as: cmake -DCLI=<hollowplan-cli> -DDOC=<document> -DWORK=<folder> -P OgrInfoCheck.cmake
find_program(OGRINFO ogrinfo)
if(NOT OGRINFO)
  message("ogrinfo absent: check skipped")
  return()
endif()
file(MAKE_DIRECTORY ${WORK})

function(export name)
  file(REMOVE ${WORK}/${name})
  execute_process(COMMAND ${CLI} export ${DOC} ${WORK}/${name} ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "export of ${name} failed: ${err}")
  endif()
endfunction()

# The number of times `pattern` occurs in `file`.
function(count_in file pattern result)
  file(READ ${file} text)
  string(REGEX MATCHALL "${pattern}" found "${text}")
  list(LENGTH found n)
  set(${result} ${n} PARENT_SCOPE)
endfunction()

# Reads `name` with ogrinfo (extra arguments before the file): the features
# it reports and its complaints, one per line.
function(read_with_ogrinfo name features complaints)
  execute_process(COMMAND ${OGRINFO} ${ARGN} -al -q ${WORK}/${name}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ogrinfo cannot read ${name}: ${err}")
  endif()
  string(REGEX MATCHALL "\nOGRFeature\\(" found "\n${out}")
  list(LENGTH found n)
  set(${features} ${n} PARENT_SCOPE)
  string(REGEX REPLACE "\n$" "" err "${err}")
  string(REPLACE "\n" ";" err "${err}")
  set(${complaints} "${err}" PARENT_SCOPE)
endfunction()

function(expect_equal what found written)
  if(NOT found EQUAL written)
    message(FATAL_ERROR "${what}: ogrinfo reads ${found} features, ${written} written")
  endif()
endfunction()

function(expect_no_complaint what complaints)
  if(NOT complaints STREQUAL "")
    message(FATAL_ERROR "ogrinfo complains about ${what}: ${complaints}")
  endif()
endfunction()

# An entity starts with the group code 0 on a line of its own (line ends in
# any form: file(READ) may drop the carriage returns).
set(entity "\n  0.?\n")

export(standard.dxf --set DXFFormat=0)
count_in(${WORK}/standard.dxf "${entity}(LINE|CIRCLE|POINT|TEXT).?\n" written)
read_with_ogrinfo(standard.dxf found complaints)
expect_no_complaint("the standard DXF" "${complaints}")
expect_equal("standard DXF" ${found} ${written})

export(blocks.dxf --set DXFFormat=1)
count_in(${WORK}/blocks.dxf "${entity}(LINE|TEXT|INSERT).?\n" written)
read_with_ogrinfo(blocks.dxf found complaints --config DXF_INLINE_BLOCKS FALSE)
expect_no_complaint("the block DXF" "${complaints}")
expect_equal("block DXF read as inserts" ${found} ${written})
count_in(${WORK}/blocks.dxf "${entity}(LINE|TEXT).?\n" drawn)
read_with_ogrinfo(blocks.dxf found complaints)
foreach(complaint IN LISTS complaints)
  if(NOT complaint MATCHES "^Warning 1: Block (VM|HR|BH) does not exist$"
     AND NOT complaint MATCHES "^More than 1000 errors or warnings have been reported")
    message(FATAL_ERROR "ogrinfo complains about the block DXF: ${complaint}")
  endif()
endforeach()
expect_equal("block DXF with inlined blocks" ${found} ${drawn})

export(cave.kml --set GEPoint=1 --set GEPointNumber=1)
count_in(${WORK}/cave.kml "<Placemark>" written)
read_with_ogrinfo(cave.kml found complaints)
expect_no_complaint("the KML" "${complaints}")
expect_equal("KML" ${found} ${written})
message("ogrinfo reads the standard DXF, the block DXF and the KML (${written} placemarks) with the features written")
