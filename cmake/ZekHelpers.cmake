# SPDX-License-Identifier: GPL-3.0-or-later
# One static library per subsystem folder; sources are picked up by glob so that
# adding a file needs no edit here. A folder without sources yet is an interface library.
function(zek_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(has_cpp FALSE)
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    # moc must run again when a globbed header appears; a list file that changes with
    # the sources tells autogen so (its own timestamp would not).
    string(REPLACE ";" "\n" source_list "${sources}")
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.txt)
    file(CONFIGURE OUTPUT ${list_file} CONTENT "${source_list}\n")
    set_property(TARGET ${name} APPEND PROPERTY AUTOGEN_TARGET_DEPENDS ${list_file})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One test executable per tests/<folder>; every *.cpp in it joins, plus the shared main.
function(zek_add_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources MATCHES "\\.cpp")
    return()  # a folder whose tests are still to come
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE zek_testmain ${ARG_LIBS} GTest::gtest GTest::gmock)
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZEK_AUDIO=null;ZEK_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZEK_DIST_DIR=${ZEK_DIST_DIR}"
    TIMEOUT 600)
endfunction()
