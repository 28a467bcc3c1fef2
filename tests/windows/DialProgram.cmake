# kestran-dial.exe under Wine: a picture given alone is prepared beside itself with its sheet,
# the dial it made is one the cost command takes, and a refused input exits with 2.
# Usage: cmake -DWINE=... -DPROGRAM=kestran-dial.exe -DPICTURE=art.png -DFOLDER=dir -P DialProgram.cmake
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(COPY ${PICTURE} DESTINATION ${FOLDER})
get_filename_component(name ${PICTURE} NAME)
get_filename_component(stem ${PICTURE} NAME_WE)

function(run expected_status expected_text)
    # No keyboard: a run that waits for Enter before its console closes goes on at once.
    execute_process(COMMAND ${WINE} ${PROGRAM} ${ARGN} WORKING_DIRECTORY ${FOLDER}
        INPUT_FILE /dev/null RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "kestran-dial ${ARGN}: status ${status}, not ${expected_status}\n${out}${err}")
    endif()
    string(FIND "${out}${err}" "${expected_text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "kestran-dial ${ARGN}: no \"${expected_text}\" in\n${out}${err}")
    endif()
endfunction()

run(0 "upload as written: " ${name})
foreach(made ${stem}-dial.png ${stem}-dial-needles.png)
    if(NOT EXISTS ${FOLDER}/${made})
        message(FATAL_ERROR "kestran-dial ${name} made no ${made}")
    endif()
endforeach()
run(0 "pixel lines" cost ${stem}-dial.png)
run(0 "20 entries" table --mark 40:30 --mark 100:161 --mark 200:318 -o speeds.gac)
run(2 "missing.gac: Error open file." cost ${stem}-dial.png --table missing.gac)
