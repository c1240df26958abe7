# cmake -DENTRY=file.desktop -P ValidateDesktopEntry.cmake
# desktop-file-validate must find no error and no warning (hints are
# suggestions, such as the entry naming two main categories on purpose).
cmake_minimum_required(VERSION 3.25)
find_program(VALIDATE desktop-file-validate)
if(NOT VALIDATE)
  message("SKIPPED: desktop-file-validate is not installed")
  return()
endif()
execute_process(COMMAND ${VALIDATE} ${ENTRY} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR out MATCHES "(error|warning):")
  message(FATAL_ERROR "desktop-file-validate (exit ${status}):\n${out}")
endif()
