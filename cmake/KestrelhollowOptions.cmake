# Compiler settings shared by every target of the project.
add_library(kh_options INTERFACE)
target_compile_options(kh_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)
if(KH_WARNINGS_AS_ERRORS)
  target_compile_options(kh_options INTERFACE -Werror)
endif()
target_include_directories(kh_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(KH_SANITIZE)
  add_compile_options(-fsanitize=${KH_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KH_SANITIZE})
endif()

# The target system, as it names the platform layer's files (FilesPosix.cpp, FilesWin32.cpp).
if(WIN32)
  set(KH_SYSTEM Win32)
else()
  set(KH_SYSTEM Posix)
endif()

# kh_library(name SOURCES ... DEPS ...): a static library of one source folder.
function(kh_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC kh_options ${ARG_DEPS})
endfunction()
