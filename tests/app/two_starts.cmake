# Two programs started at the same moment on an empty program folder, as "Open with" on two books
# starts them: both prepare the folder without an error, leave cleanly, and the folder is whole.
# Then two books on one command line: each opens in a program of its own.
#   cmake -DPROGRAM=<quenvale> -DDATA=<shipped data> -DWORK=<scratch folder> -P two_starts.cmake
file(REMOVE_RECURSE ${WORK})
set(start ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QUENVALE_QUIT_AFTER_MS=1500
          QUENVALE_HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/config
          QT_LOGGING_RULES=quenvale.files.info=true ${PROGRAM})
# The commands of one execute_process run at once, as a pipeline.
execute_process(COMMAND ${start} COMMAND ${start} RESULTS_VARIABLE results ERROR_VARIABLE errors
                OUTPUT_QUIET TIMEOUT 60)
if(NOT results STREQUAL "0;0")
    message(FATAL_ERROR "the two programs ended with ${results}:\n${errors}")
endif()
# Every failure to prepare the folder is logged as "program folder: <file> <reason>".
string(FIND "${errors}" "program folder" said)
if(said GREATER -1)
    message(FATAL_ERROR "preparing the program folder went wrong:\n${errors}")
endif()
foreach(shipped DIC/70000.txt DIC/homograph.txt HELP/Help10.rtf end.wav)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DATA}/${shipped} ${WORK}/home/${shipped}
                    RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${shipped} is not the shipped file after two starts")
    endif()
endforeach()

# Two books on the command line: the second, given as a file:// address, opens in a program of
# its own, which says so in the log when that book cannot be read.
file(WRITE ${WORK}/first.txt "Glava 1\r\n")
execute_process(COMMAND ${start} ${WORK}/first.txt file://${WORK}/missing-second.txt
                RESULT_VARIABLE rc ERROR_VARIABLE errors OUTPUT_QUIET TIMEOUT 60)
string(FIND "${errors}" " ${WORK}/missing-second.txt failed" said)
if(NOT rc EQUAL 0 OR said EQUAL -1)
    message(FATAL_ERROR "the second book was not opened in a program of its own (exit ${rc}):\n${errors}")
endif()
