# --help and --version answer in Russian and exit 0 where there is no display (over ssh, on a
# console): no platform plugin asked for, none to connect to.
#   cmake -DPROGRAM=<quenvale> -DVERSION=<project version> -P console_options.cmake
foreach(option help version)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=QT_QPA_PLATFORM --unset=DISPLAY
                            --unset=WAYLAND_DISPLAY ${PROGRAM} --${option}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE said ERROR_VARIABLE errors TIMEOUT 30)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "quenvale --${option} ended with ${rc}:\n${said}${errors}")
    endif()
    set(said_${option} "${said}")
endforeach()
foreach(expected "Превращает русские книги в аудиокниги." "--version" "[книги...]")
    string(FIND "${said_help}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "--help does not say \"${expected}\":\n${said_help}")
    endif()
endforeach()
if(NOT said_version STREQUAL "Quenvale ${VERSION}\n")
    message(FATAL_ERROR "--version says \"${said_version}\"")
endif()
