cmake_minimum_required(VERSION 3.25)
# Runs the module order check on a small made-up source tree and expects it
# to name exactly the forbidden includes and links below, in whatever form
# they are written, and nothing else.
# Run as: cmake -DCHECK=<ModuleOrder.cmake> -DWORK_DIR=<empty folder> -P ModuleOrderTest.cmake

# file | line written into it | the fault expected (none when it is allowed)
set(cases
  "draw/Plain.cpp|#include \"export/X.h\"|draw may not include export/"
  "draw/Angle.cpp|#include <export/X.h>|draw may not include export/"
  "draw/Up.cpp|#include \"../export/X.h\"|draw may not include export/"
  "draw/Detour.cpp|#include \"doc/../export/X.h\"|draw may not include export/"
  "calc/Spaced.cpp|  #  include\"draw/X.h\"|calc may not include draw/"
  "import/Beside.cpp|#include \"export/X.h\"|import may not include export/"
  "doc/Widget.h|#include <QString>|doc may not include Qt"
  "edit/Unlinked.cpp|#include \"import/X.h\"|edit includes import/ but does not link hp_import"
  "draw/Below.cpp|#include \"calc/X.h\""
  "draw/Own.cpp|#include \"Own.h\""
  "draw/Sibling.cpp|#include \"../draw/Own.h\""
  "draw/Standard.cpp|#include <vector>"
  "gfx/Paint.cpp|#include <QPainter>"
  "draw/Core.cpp|#include \"draw/pages/X.h\"|draw/pages/ lies above the top folder"
  "draw/protocol/Back.cpp|#include \"../interaction/X.h\"|draw/interaction/ lies above protocol"
  "draw/animation/Print.cpp|#include <draw/pages/X.h>|draw/pages/ lies above animation"
  "draw/pages/Down.cpp|#include \"draw/protocol/X.h\""
)
set(links
  "doc|hp_platform hp_base"
  "calc|hp_doc"
  "draw|hp_calc"
  "edit|hp_calc"
  "export|hp_draw"
  "gfx|hp_draw"
  "import|hp_draw hp_export"
)
# Faults of the tree itself, beside those of the cases.
set(tree_faults "src/import/CMakeLists.txt: import may not link hp_export" "src/misc: a module with no place")

file(REMOVE_RECURSE ${WORK_DIR})
set(src ${WORK_DIR}/src)
file(MAKE_DIRECTORY ${src}/misc)
foreach(entry IN LISTS links)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 module)
  list(GET parts 1 targets)
  file(WRITE ${src}/${module}/CMakeLists.txt "target_link_libraries(hp_${module} PUBLIC ${targets})\n")
endforeach()
file(WRITE ${src}/draw/Own.h "// own header\n")
file(MAKE_DIRECTORY ${src}/draw/protocol ${src}/draw/pages ${src}/draw/animation)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 file)
  list(GET parts 1 line)
  file(WRITE ${src}/${file} "${line}\n")
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${src} -P ${CHECK} RESULT_VARIABLE status ERROR_VARIABLE report)
if(status EQUAL 0)
  message(FATAL_ERROR "The check passed a tree with forbidden includes")
endif()

set(problems "")
list(LENGTH tree_faults expected_count)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(LENGTH parts count)
  list(GET parts 0 file)
  string(FIND "${report}" "src/${file}: " at)
  if(count GREATER 2)
    list(GET parts 2 fault)
    math(EXPR expected_count "${expected_count} + 1")
    string(FIND "${report}" "src/${file}: ${fault}" at)
    if(at EQUAL -1)
      string(APPEND problems "not found: src/${file}: ${fault}\n")
    endif()
  elseif(NOT at EQUAL -1)
    string(APPEND problems "reported though allowed: src/${file}\n")
  endif()
endforeach()
foreach(fault IN LISTS tree_faults)
  string(FIND "${report}" "${fault}" at)
  if(at EQUAL -1)
    string(APPEND problems "not found: ${fault}\n")
  endif()
endforeach()
string(REGEX MATCHALL "src/[^\n]*" reported "${report}")
list(LENGTH reported reported_count)
if(NOT reported_count EQUAL expected_count)
  string(APPEND problems "${reported_count} faults reported, ${expected_count} expected\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}Report was:\n${report}")
endif()
