cmake_minimum_required(VERSION 3.25)
# Makes the Wine prefix PREFIX unless it is there already (wineboot takes a while), and has
# Wine draw the windows' frames itself: Xvfb runs no window manager, and the window tests
# look at the window as Windows would show it, caption and frame included.
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
if(NOT EXISTS ${PREFIX}/system.reg)
    find_program(WINEBOOT wineboot REQUIRED)
    execute_process(COMMAND ${WINEBOOT} -i RESULT_VARIABLE result)
    if(NOT result EQUAL 0 OR NOT EXISTS ${PREFIX}/system.reg)
        message(FATAL_ERROR "wineboot -i failed (${result}) for ${PREFIX}")
    endif()
endif()

file(READ ${PREFIX}/user.reg settings)
if(NOT settings MATCHES "\"Decorated\"=\"N\"")
    find_program(WINE wine REQUIRED)
    find_program(WINESERVER wineserver REQUIRED)
    foreach(value Decorated Managed)
        execute_process(COMMAND ${WINE} reg add "HKCU\\Software\\Wine\\X11 Driver" /v ${value}
            /t REG_SZ /d N /f OUTPUT_QUIET ERROR_QUIET)
    endforeach()
    # The server writes the registry out as it ends.
    execute_process(COMMAND ${WINESERVER} -w)
endif()
