# cmake -DMETAINFO=file.metainfo.xml -P ValidateMetainfo.cmake
# appstreamcli fails on errors and warnings; it must not go to the network.
cmake_minimum_required(VERSION 3.25)
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message("SKIPPED: appstreamcli is not installed")
  return()
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${METAINFO}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate (exit ${status}):\n${out}")
endif()
