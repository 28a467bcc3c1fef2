cmake_minimum_required(VERSION 3.25)
# A window program (kestran.exe, kestran-workshop.exe) on a display that is not there cannot
# make its window: it must end at once with its own exit status for that, not with the 0 of
# a run that went well.
execute_process(COMMAND ${CMAKE_COMMAND} -E env DISPLAY=:4747 WAYLAND_DISPLAY= ${WINE} ${PROGRAM}
    RESULT_VARIABLE result TIMEOUT 60)
if(NOT result STREQUAL "1")
    message(FATAL_ERROR "${PROGRAM} without a window ended with ${result}, not 1")
endif()
