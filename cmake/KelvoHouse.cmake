# The house: the rooms of src/ from the ground floor up. A file may include headers of its
# own room and of the rooms on lower floors, never of a room on its own floor or above, so
# that every include points down (src/README.md draws the map). A room is a folder; a file
# belongs to the deepest room that holds it. Rooms listed on one line share a floor and stay
# out of each other.
#
# Included from CMakeLists.txt, it checks the tree while configuring; run as a script
# (cmake -DKELVO_SOURCE_DIR=... -P KelvoHouse.cmake) it checks it again at every build whose
# sources changed (the target kelvo_house_check). Either way an include that runs up the
# house stops the build, naming the file, the header and the two rooms.

set(KELVO_HOUSE_FLOORS
  "common"
  "automation"
  "automation/socket automation/com"
  "kelvocad/model"
  "kelvocad/objects kelvocad/dxf"
  "kelvocad/com"
  "kelvocad/app"
  "taglists"
  "cadlink"
  "cadlink/platform"
  "editor/records"
  "editor"
  "grid"
  "textops"
  "search"
  "ui"
  "cadlink/ui"
  "editor/ui"
  "grid/ui"
  "textops/ui"
  "search/ui"
  "taglists/ui"
  "app")

# The room of a path below src/ (a folder, or a file's folder); empty when it is in none.
function(kelvo_house_room path out)
  set(best "")
  foreach(room IN LISTS KELVO_HOUSE_ROOMS)
    string(FIND "${path}/" "${room}/" position)
    if(position EQUAL 0)
      string(LENGTH "${room}" length)
      string(LENGTH "${best}" bestLength)
      if(length GREATER bestLength)
        set(best "${room}")
      endif()
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

function(kelvo_check_house sourceDir)
  set(KELVO_HOUSE_ROOMS "")
  set(floor 0)
  foreach(line IN LISTS KELVO_HOUSE_FLOORS)
    string(REPLACE " " ";" rooms "${line}")
    foreach(room IN LISTS rooms)
      list(APPEND KELVO_HOUSE_ROOMS "${room}")
      set(floorOf_${room} ${floor})
    endforeach()
    math(EXPR floor "${floor} + 1")
  endforeach()

  file(GLOB_RECURSE files RELATIVE "${sourceDir}/src" "${sourceDir}/src/*.h" "${sourceDir}/src/*.cpp")
  set(upward "")
  foreach(file IN LISTS files)
    get_filename_component(folder "${file}" DIRECTORY)
    kelvo_house_room("${folder}" from)
    if(from STREQUAL "")
      continue()
    endif()
    file(STRINGS "${sourceDir}/src/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/[^\"]+\"")
    foreach(include IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${include}")
      get_filename_component(headerFolder "${header}" DIRECTORY)
      kelvo_house_room("${headerFolder}" to)
      if(to STREQUAL "" OR to STREQUAL from)
        continue()
      endif()
      if(NOT floorOf_${to} LESS floorOf_${from})
        list(APPEND upward "  src/${file}: ${from} includes ${header} (${to}, not below it)")
      endif()
    endforeach()
  endforeach()

  if(upward)
    list(JOIN upward "\n" lines)
    message(FATAL_ERROR "Includes that run up the house (see src/README.md):\n${lines}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  kelvo_check_house("${KELVO_SOURCE_DIR}")
  if(DEFINED KELVO_STAMP)
    file(TOUCH "${KELVO_STAMP}")
  endif()
endif()
