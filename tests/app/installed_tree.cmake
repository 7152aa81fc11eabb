# Installs the built program into a fresh prefix as `cmake --install` does for a user, and checks
# what a desktop reads of it: the entry and the metadata pass their validators, both name the
# installed program and icon, and the installed program starts on its own shipped files.
#   cmake -DBUILD=<build folder> -DWORK=<scratch folder> -P installed_tree.cmake
set(id org.quenvale.Quenvale)
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)

set(entry ${prefix}/share/applications/${id}.desktop)
set(metainfo ${prefix}/share/metainfo/${id}.metainfo.xml)
execute_process(COMMAND desktop-file-validate ${entry} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND appstreamcli validate --no-net ${metainfo} COMMAND_ERROR_IS_FATAL ANY)

# expect(message condition...): fails with the message unless the condition holds.
function(expect message)
    if(NOT (${ARGN}))
        message(FATAL_ERROR "${message}")
    endif()
endfunction()

file(READ ${entry} desktop)
# The window's class (WM_CLASS) is the application name: the desktop ties the window to its entry.
foreach(line "Exec=quenvale %f" "Icon=${id}" "StartupWMClass=Quenvale")
    string(FIND "${desktop}" "\n${line}\n" at)
    expect("the desktop entry lacks \"${line}\"" at GREATER -1)
endforeach()
# RTF is application/rtf; text/rtf is only its alias.
string(REGEX MATCH "\nMimeType=([^\n]*;)?application/rtf;" rtf "${desktop}")
expect("the desktop entry does not take application/rtf" rtf)
file(READ ${metainfo} metadata)
foreach(part "<launchable type=\"desktop-id\">${id}.desktop</launchable>"
             "<mediatype>application/rtf</mediatype>" "<release version=\"${VERSION}\" "
             "<summary xml:lang=\"ru\">Превращает русские книги в аудиокниги</summary>")
    string(FIND "${metadata}" "${part}" at)
    expect("the metadata lacks ${part}" at GREATER -1)
endforeach()
# The project has no web address yet: none may be named.
expect("the metadata names a web address" NOT metadata MATCHES "https?://")
# "Open with" offers the program for texts and every e-book it reads.
string(REGEX MATCH "\nMimeType=[^\n]*\n" types "${desktop}")
foreach(type text/plain application/x-fictionbook+xml application/x-zip-compressed-fb2 application/epub+zip
             application/vnd.openxmlformats-officedocument.wordprocessingml.document
             application/vnd.oasis.opendocument.text text/html application/pdf application/msword)
    string(FIND "${types}" "=${type};" first)
    string(FIND "${types}" ";${type};" later)
    expect("the desktop entry does not take ${type}" first GREATER -1 OR later GREATER -1)
    string(FIND "${metadata}" "<mediatype>${type}</mediatype>" at)
    expect("the metadata does not list ${type}" at GREATER -1)
endforeach()

foreach(file bin/quenvale share/icons/hicolor/scalable/apps/${id}.svg
             share/icons/hicolor/256x256/apps/${id}.png share/quenvale/DIC/exc_rus.txt)
    expect("not installed: ${file}" EXISTS ${prefix}/${file})
endforeach()
# A PNG's width and height stand at bytes 16 to 23.
foreach(pixels 16 24 32 48 256)
    file(READ ${prefix}/share/icons/hicolor/${pixels}x${pixels}/apps/${id}.png size OFFSET 16 LIMIT 8 HEX)
    math(EXPR side "${pixels}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" side ${side})
    string(LENGTH ${side} digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT 0 ${pad} zeros)
    expect("the hicolor ${pixels}x${pixels} icon is ${size}" size STREQUAL "${zeros}${side}${zeros}${side}")
endforeach()

# Started from the prefix by a user with nothing of the program yet, with a book to open: it
# fills the user's program folder from the installed files and leaves cleanly.
file(WRITE ${WORK}/книга.txt "Glava 1\r\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QUENVALE_QUIT_AFTER_MS=1500
                        --unset=QUENVALE_HOME XDG_DATA_HOME=${WORK}/data XDG_CONFIG_HOME=${WORK}/config
                        ${prefix}/bin/quenvale ${WORK}/книга.txt
                TIMEOUT 60 COMMAND_ERROR_IS_FATAL ANY)
expect("the installed program found no shipped files" EXISTS ${WORK}/data/Quenvale/Quenvale/DIC/exc_rus.txt)
