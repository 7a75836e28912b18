# The version keyword texts come from the source-control state of the build tree:
# a tag of the form vN.NN[x] gives a released version, anything else a development build.
find_package(Git QUIET)
set(CONSOLE_VCS_URL "")
set(CONSOLE_VCS_REVISION "")
set(CONSOLE_VCS_DATE "")
if(GIT_FOUND AND EXISTS "${CMAKE_SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --exact-match
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE CONSOLE_VCS_TAG
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short HEAD
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE CONSOLE_VCS_REVISION
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cd --date=format:%Y-%m-%d\ %H:%M:%S
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE CONSOLE_VCS_DATE
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
