cmake_minimum_required(VERSION 3.25)
# Exports the sample cave as a bitmap and has ImageMagick's identify read it:
# a Windows 3 bitmap (40-byte info header) of the drawn screen, 1280 x 1024
# pixels, 8 bits per channel.
# Run as: cmake -DCLI=<hollowplan-cli> -DDOC=<document> -DWORK=<folder> -P BitmapIdentifyCheck.cmake
find_program(IDENTIFY identify)
if(NOT IDENTIFY)
  message("identify absent: check skipped")
  return()
endif()
file(MAKE_DIRECTORY ${WORK})
file(REMOVE ${WORK}/cave.bmp)
execute_process(COMMAND ${CLI} export ${DOC} ${WORK}/cave.bmp RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "export of the bitmap failed: ${err}")
endif()
execute_process(COMMAND ${IDENTIFY} -regard-warnings -format "%m %w %h %z" ${WORK}/cave.bmp
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "identify complains about the bitmap: ${err}")
endif()
if(NOT out STREQUAL "BMP3 1280 1024 8")
  message(FATAL_ERROR "identify reads \"${out}\", expected \"BMP 1280 1024 8\" (8 bits per channel)")
endif()
message("identify reads the bitmap: ${out}")
