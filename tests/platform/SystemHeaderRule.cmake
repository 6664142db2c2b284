# The one-way rule of the platform layer: only src/platform and the toolkit's window backends
# (its sub-folders, one per window system) include a system's own headers, and the headers of a
# window system only its own backend: X11 and Cairo in src/toolkit/x11, GDI+ in
# src/toolkit/win32. The skin generator and the screenshot tool, programs of the Linux build
# machine, draw with Cairo directly. Run as
#   cmake -DSOURCE_DIR=<project> -P SystemHeaderRule.cmake
# and fails naming every file that breaks the rule.
set(kSystemHeader "#[ \t]*include[ \t]*<((unistd|dirent|dlfcn|pwd|fcntl|poll|[Ww]indows)\\.h|sys/)")
set(kSystemHeaderHomes "^src/platform/|^src/toolkit/[^/]+/")
set(kLinuxWindowHeader "#[ \t]*include[ \t]*<(X11/|cairo[-a-z]*\\.h)")
set(kLinuxWindowHeaderHomes "^src/toolkit/x11/|^tools/skin/|^tools/screenshot/")
set(kWin32WindowHeader "#[ \t]*include[ \t]*<gdiplus\\.h")
set(kWin32WindowHeaderHomes "^src/toolkit/win32/")

file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
set(offenders)
foreach(source IN LISTS sources)
  foreach(kind IN ITEMS SystemHeader LinuxWindowHeader Win32WindowHeader)
    if(source MATCHES "${k${kind}Homes}")
      continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "${k${kind}}")
    foreach(line IN LISTS lines)
      list(APPEND offenders "${source}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "System headers outside their platform's files:\n  ${report}")
endif()
