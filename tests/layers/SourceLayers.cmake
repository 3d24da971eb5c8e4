# Fails when a source file of one of the program's folders includes a header of a folder
# that is not below it: a library may use only the libraries it links.
#   cmake -DSOURCE_DIR=<tree> -P SourceLayers.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "SourceLayers.cmake needs -DSOURCE_DIR=...")
endif()

# Each folder and the folders whose headers it may include besides its own.
set(below_palmdb)
set(below_i18n)
set(below_resources)
set(below_platform i18n)
set(below_palmdesktop platform i18n)
set(below_common palmdb platform i18n)
set(below_creators common ${below_common})
set(below_zip common ${below_common})
set(below_export common ${below_common})
set(below_core creators zip export ${below_creators})
set(below_dialogs core resources ${below_core})
set(below_gui dialogs ${below_dialogs})
set(below_cli core ${below_core})
set(below_app gui palmdesktop ${below_gui})
set(folders palmdb i18n resources platform palmdesktop common creators zip export core dialogs gui
            cli app)

set(faults)
foreach(folder ${folders})
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
       ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(source ${sources})
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/.*" "\\1" used "${line}")
      if(used STREQUAL folder OR NOT used IN_LIST folders)
        continue()
      endif()
      if(NOT used IN_LIST below_${folder})
        list(APPEND faults "${source} includes ${used}/, which is not below ${folder}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Headers included across the layers:\n  ${text}")
endif()
