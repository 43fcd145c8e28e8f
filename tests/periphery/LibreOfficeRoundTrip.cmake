cmake_minimum_required(VERSION 3.25)
# The sample cave's table as the spreadsheet exchange writes it, opened
# headless by LibreOffice (every column read as text, as the exchange's sheet
# keeps point names such as "007" and dates as they are), saved as
# tab-separated text in UTF-8 and in Windows-1252, loaded back through the
# table import and written again: the records must be the same. Skipped
# without soffice.
# Run as: cmake -DCLI=<hollowplan-cli> -DDOC=<Beispielhoehle.hpn> -DWORK=<folder> -P LibreOfficeRoundTrip.cmake
find_program(SOFFICE soffice)
if(NOT SOFFICE)
  message("soffice absent")
  return()
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(docFolder ${DOC} DIRECTORY)
# The include files of the sample cave, found beside the loaded document.
file(GLOB includes ${docFolder}/Seitengang.hpn)
file(COPY ${includes} DESTINATION ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}\n${err}")
  endif()
endfunction()

run(${CLI} export ${DOC} ${WORK}/Hollowplan.txt --include-mode 0)
file(READ ${WORK}/Hollowplan.txt sent)
string(REPLACE "\r\n" "\n" sent "${sent}")

set(textColumns "")
foreach(i RANGE 1 34)
  list(APPEND textColumns "${i}/2")
endforeach()
string(REPLACE ";" "/" textColumns "${textColumns}")
set(filter "Text - txt - csv (StarCalc)")
# Windows-1252 is encoding 1, UTF-8 76; no quotes around text cells.
foreach(charset 76 1)
  set(out ${WORK}/lo${charset})
  run(${SOFFICE} -env:UserInstallation=file://${WORK}/profile --headless
      "--infilter=${filter}:9,34,1,1,${textColumns}"
      "--convert-to" "csv:${filter}:9,34,${charset},1,,0,false,true,true,false" --outdir ${out} ${WORK}/Hollowplan.txt)
  file(RENAME ${out}/Hollowplan.csv ${out}/Hollowplan.txt)
  run(${CLI} import ${out}/Hollowplan.txt --into ${DOC} -o ${WORK}/back${charset}.hpn)
  run(${CLI} export ${WORK}/back${charset}.hpn ${WORK}/back${charset}.txt --include-mode 0)
  file(READ ${WORK}/back${charset}.txt back)
  string(REPLACE "\r\n" "\n" back "${back}")
  if(NOT back STREQUAL sent)
    message(FATAL_ERROR "The table saved by LibreOffice (encoding ${charset}) came back changed: "
                        "compare ${WORK}/Hollowplan.txt and ${WORK}/back${charset}.txt")
  endif()
  string(LENGTH "${back}" size)
  message("encoding ${charset}: ${size} bytes came back unchanged")
endforeach()
