# The one-way rule of the platform layer: only src/platform and the toolkit's window backends
# (its sub-folders, one per window system) include a system's own headers. Run as
#   cmake -DSOURCE_DIR=<project> -P SystemHeaderRule.cmake
# and fails naming every file that breaks the rule.
set(kSystemHeader "#[ \t]*include[ \t]*<((unistd|dirent|dlfcn|pwd|fcntl|poll|[Ww]indows)\\.h|(sys|X11)/)")

file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
set(offenders)
foreach(source IN LISTS sources)
  if(source MATCHES "^src/platform/" OR source MATCHES "^src/toolkit/[^/]+/")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "${kSystemHeader}")
  foreach(line IN LISTS lines)
    list(APPEND offenders "${source}: ${line}")
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "System headers outside the platform layer:\n  ${report}")
endif()
