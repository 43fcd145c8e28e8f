cmake_minimum_required(VERSION 3.25)
# Fails when a source file includes a header its module may not use.
#
# A folder of src/ is a module. The modules build on each other in this
# order; a module may include only itself and the modules below it:
#   base <- platform <- geo <- doc <- calc <- draw <- import/export
#        <- periphery/edit <- gfx <- app, cli
# geo needs only base. Modules on one step stand side by side and do not
# include each other (import and export, periphery and edit, app and cli).
# Only gfx, app and cli may include Qt.
#
# On top of the order, a module includes only modules its CMake target links
# (directly or through the targets it links), so the build's target
# dependencies say the same as the includes.
#
# The drawing module has rooms of its own (sub-folders of src/draw), which
# build on its top folder and on each other in one direction only:
#   draw <- protocol <- pages <- interaction;  draw <- animation
# The top folder includes no room.
#
# Every spelling of an include counts: "draw/X.h", <draw/X.h>,
# "../draw/X.h", and paths that step out and back in ("doc/../draw/X.h").
#
# Run as: cmake -DSOURCE_DIR=<src> [-DSTAMP=<file>] -P ModuleOrder.cmake
# STAMP is touched when the order holds (for the build's custom command).

set(modules base platform geo doc calc draw import export periphery edit gfx app cli)
set(allowed_base base)
set(allowed_platform base platform)
set(allowed_geo base geo)
set(allowed_doc base platform geo doc)
set(allowed_calc ${allowed_doc} calc)
set(allowed_draw ${allowed_calc} draw)
set(allowed_import ${allowed_draw} import)
set(allowed_export ${allowed_draw} export)
set(allowed_periphery ${allowed_draw} import export periphery)
set(allowed_edit ${allowed_draw} import export edit)
set(allowed_gfx ${allowed_draw} import export periphery edit gfx)
set(allowed_app ${allowed_gfx} app)
set(allowed_cli ${allowed_gfx} cli)
set(qt_modules gfx app cli)
set(draw_rooms protocol pages interaction animation)
set(allowed_room_ "")
set(allowed_room_protocol protocol)
set(allowed_room_pages protocol pages)
set(allowed_room_interaction protocol pages interaction)
set(allowed_room_animation animation)

set(faults "")

# The modules a module's targets link, read from its CMakeLists.txt
# (hp_<module> and hp_<module>_lib name a module's libraries).
foreach(module IN LISTS modules)
  set(links_${module} "")
  set(list_file ${SOURCE_DIR}/${module}/CMakeLists.txt)
  if(NOT EXISTS ${list_file})
    continue()
  endif()
  file(READ ${list_file} text)
  string(REGEX MATCHALL "target_link_libraries\\([^)]*\\)" calls "${text}")
  foreach(call IN LISTS calls)
    string(REGEX MATCHALL "hp_[a-z]+" targets "${call}")
    foreach(target IN LISTS targets)
      string(REGEX REPLACE "^hp_" "" linked "${target}")
      if(linked IN_LIST modules AND NOT linked STREQUAL module)
        list(APPEND links_${module} ${linked})
        if(NOT linked IN_LIST allowed_${module})
          string(APPEND faults "src/${module}/CMakeLists.txt: ${module} may not link hp_${linked}\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

# The modules a module reaches through its links, itself included.
foreach(module IN LISTS modules)
  set(reach_${module} ${module})
  set(queue ${links_${module}})
  while(queue)
    list(POP_FRONT queue next)
    if(NOT next IN_LIST reach_${module})
      list(APPEND reach_${module} ${next})
      list(APPEND queue ${links_${next}})
    endif()
  endwhile()
endforeach()

# The room of the drawing module a path under src/ lies in ("" for its top
# folder and for other modules).
function(room_of path result)
  set(found "")
  if(path MATCHES "^draw/([a-z]+)/")
    if(CMAKE_MATCH_1 IN_LIST draw_rooms)
      set(found ${CMAKE_MATCH_1})
    endif()
  endif()
  set(${result} "${found}" PARENT_SCOPE)
endfunction()

# The module a written include names, or nothing when it names none, and
# the path under src/ it names: relative paths are taken from the including
# file's folder first.
function(module_of_include written folder result path_result)
  set(found "")
  cmake_path(SET path NORMALIZE "${written}")
  cmake_path(ABSOLUTE_PATH written BASE_DIRECTORY "${folder}" NORMALIZE OUTPUT_VARIABLE beside)
  if(written MATCHES "^\\.\\.?/" OR EXISTS "${beside}")
    cmake_path(IS_PREFIX SOURCE_DIR "${beside}" NORMALIZE inside)
    if(inside)
      cmake_path(RELATIVE_PATH beside BASE_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE path)
    else()
      set(path "")
    endif()
  endif()
  if(path MATCHES "^([a-z]+)/")
    if(CMAKE_MATCH_1 IN_LIST modules)
      set(found ${CMAKE_MATCH_1})
    endif()
  endif()
  set(${result} "${found}" PARENT_SCOPE)
  set(${path_result} "${path}" PARENT_SCOPE)
endfunction()

file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
    continue()
  endif()
  if(NOT folder IN_LIST modules)
    string(APPEND faults "src/${folder}: a module with no place in the order\n")
    continue()
  endif()
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    cmake_path(GET file PARENT_PATH here)
    file(RELATIVE_PATH shown ${SOURCE_DIR}/.. ${file})
    file(RELATIVE_PATH inside ${SOURCE_DIR} ${file})
    room_of("${inside}" room)
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
        continue()
      endif()
      set(written "${CMAKE_MATCH_1}")
      string(STRIP "${line}" line)
      if(written MATCHES "^Q[A-Za-z]*(/|$)" AND NOT folder IN_LIST qt_modules)
        string(APPEND faults "${shown}: ${folder} may not include Qt (${line})\n")
        continue()
      endif()
      module_of_include("${written}" "${here}" used used_path)
      if(used STREQUAL "draw" AND folder STREQUAL "draw")
        room_of("${used_path}" used_room)
        if(NOT used_room STREQUAL "" AND NOT used_room IN_LIST allowed_room_${room})
          if(room STREQUAL "")
            set(room "the top folder")
          endif()
          string(APPEND faults "${shown}: draw/${used_room}/ lies above ${room} (${line})\n")
          room_of("${inside}" room)
        endif()
      endif()
      if(used STREQUAL "" OR used STREQUAL folder)
        continue()
      endif()
      if(NOT used IN_LIST allowed_${folder})
        string(APPEND faults "${shown}: ${folder} may not include ${used}/ (${line})\n")
      elseif(NOT used IN_LIST reach_${folder})
        string(APPEND faults "${shown}: ${folder} includes ${used}/ but does not link hp_${used} (${line})\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(NOTICE "Module order broken:\n${faults}")
  message(FATAL_ERROR "The sources break the module order (see above).")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
