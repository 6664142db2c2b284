# Fails when a function or method breaks the naming convention: methods are camelCase
# (getValue, setPath), free functions PascalCase (ShowMessage, CleanHolderName), in every
# source folder and on every platform's files. Universal Ctags finds the declarations without
# compiling, so the Windows files are checked on Linux too. Run as a test:
#   cmake -DSOURCE_DIR=<project> -DCTAGS=<ctags> -P CheckNames.cmake
# Names that other interfaces fix stay as they are: GoogleTest's SetUp, TearDown and TestBody,
# main, the sanitizers' hooks (__lsan_*) and the C functions a test stands in for (sf_*,
# kh_some_function).
set(KH_NAMED_ELSEWHERE "^(SetUp|TearDown|TestBody|main|sf_[a-z_]+|kh_some_function|offsetof|__[a-z_]+)$")

execute_process(
  COMMAND ${CTAGS} -R --languages=C++ --langmap=C++:+.h --kinds-C++=fp --fields=+KZs --extras=-q -x
          "--_xformat=%N|%{scope}|%{scopeKind}|%F:%n" src tools tests bench
  WORKING_DIRECTORY ${SOURCE_DIR}
  OUTPUT_VARIABLE tags
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ctags failed (${result})")
endif()

string(REPLACE ";" "\\;" tags "${tags}")
string(REPLACE "\n" ";" tags "${tags}")
set(violations "")
foreach(tag IN LISTS tags)
  if(NOT tag MATCHES "^([^|]*)\\|([^|]*)\\|([^|]*)\\|(.*)$")
    continue()
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(scope "${CMAKE_MATCH_2}")
  set(scopeKind "${CMAKE_MATCH_3}")
  set(where "${CMAKE_MATCH_4}")
  # Lambdas, operators, destructors, functions inside functions and outside interfaces' names.
  if(name MATCHES "^(__anon|operator|~)" OR scopeKind STREQUAL "function" OR name MATCHES "${KH_NAMED_ELSEWHERE}")
    continue()
  endif()
  if(scopeKind MATCHES "^(class|struct|union)$")
    string(REGEX REPLACE "^.*::" "" owner "${scope}")
    if(NOT name STREQUAL owner AND NOT name MATCHES "^[a-z]")
      string(APPEND violations "  ${where}: method ${scope}::${name} is not camelCase\n")
    endif()
  elseif(NOT name MATCHES "^[A-Z]")
    string(APPEND violations "  ${where}: free function ${name} is not PascalCase\n")
  endif()
endforeach()

if(violations)
  message(FATAL_ERROR "Names that break the convention (methods camelCase, free functions PascalCase):\n${violations}")
endif()
