# cmake -DAPP_ID=id -DVERSION=x.y.z -DSOURCES=packaging/ -P CheckNamesAndVersion.cmake
# The desktop entry, icon and AppStream file must go by one id, and the
# AppStream file's newest release and the manual pages' headers must carry
# the project version, so a version bump that forgets one of them fails.
cmake_minimum_required(VERSION 3.25)
set(problems "")

file(READ ${SOURCES}/${APP_ID}.metainfo.xml metainfo)
string(REGEX MATCH "<id>([^<]*)</id>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL APP_ID)
  string(APPEND problems "metainfo id is '${CMAKE_MATCH_1}', not ${APP_ID}\n")
endif()
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL "${APP_ID}.desktop")
  string(APPEND problems "metainfo launches '${CMAKE_MATCH_1}', not ${APP_ID}.desktop\n")
endif()
# Releases are listed newest first.
string(REGEX MATCH "<release [^>]*version=\"([^\"]*)\"" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  string(APPEND problems "metainfo's newest release is '${CMAKE_MATCH_1}', not ${VERSION}\n")
endif()

file(STRINGS ${SOURCES}/${APP_ID}.desktop icon REGEX "^Icon=")
if(NOT icon STREQUAL "Icon=${APP_ID}")
  string(APPEND problems "desktop entry has '${icon}', not Icon=${APP_ID}\n")
endif()
if(NOT EXISTS ${SOURCES}/icons/${APP_ID}.svg)
  string(APPEND problems "no icon icons/${APP_ID}.svg\n")
endif()

foreach(page quenlix.1 quenlix-acquire.1)
  file(STRINGS ${SOURCES}/man/${page} header REGEX "^\\.TH ")
  string(FIND "${header}" "\"Quenlix ${VERSION}\"" at)
  if(at EQUAL -1)
    string(APPEND problems "${page} header '${header}' does not name Quenlix ${VERSION}\n")
  endif()
endforeach()

if(problems)
  message(FATAL_ERROR "${problems}")
endif()
