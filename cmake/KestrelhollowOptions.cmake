# Compiler settings shared by every target of the project.
add_library(kh_options INTERFACE)
target_compile_options(kh_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)
# GCC 12 reports overlapping copies inside libstdc++'s inlined std::string code at -O3 where there
# are none (GCC bug 105329), e.g. for "text" + std::to_string(n). Real overlaps
# are left to the address sanitizer, which checks every copy as it runs.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(kh_options INTERFACE -Wno-restrict)
endif()
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
