# cmake -DPAGES=page;... -P CheckManPages.cmake
# Formats each manual page with man's warnings on: any warning fails.
cmake_minimum_required(VERSION 3.25)
find_program(MAN man)
if(NOT MAN)
  message("SKIPPED: man is not installed")
  return()
endif()
foreach(page IN LISTS PAGES)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80 ${MAN} --warnings -l ${page}
    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
  if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "${page} (man exit ${status}):\n${warnings}")
  endif()
  if(text STREQUAL "")
    message(FATAL_ERROR "${page} formats to nothing")
  endif()
endforeach()
