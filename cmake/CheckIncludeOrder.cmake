# Fails when a source file includes a header of a folder that comes after its own in the layer
# order below (every folder may use only those before it). Run as a test:
#   cmake -DSOURCE_DIR=<project> -P CheckIncludeOrder.cmake
set(KH_LAYERS platform vst engine persistence samples instrument toolkit widgets browser editor plugin)

set(violations "")
foreach(layer IN LISTS KH_LAYERS)
  list(FIND KH_LAYERS ${layer} rank)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/src/${layer}/*.h" "${SOURCE_DIR}/src/${layer}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^/\"]+)/.*$" "\\1" folder "${line}")
      list(FIND KH_LAYERS ${folder} includedRank)
      if(includedRank GREATER rank)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        string(APPEND violations "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that run from a lower folder to a higher one:\n${violations}")
endif()
