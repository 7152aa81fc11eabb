# Makes the Debian package as the README says (cpack -G DEB) and checks it as a Debian maintainer
# would: it installs the desktop files and Debian's documents, needs what the program starts and
# links at run time and recommends the other encoders, and lintian finds nothing to warn of.
#   cmake -DBUILD=<build folder> -DWORK=<scratch folder> -P debian_package.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND cpack -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK} OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB package ${WORK}/quenvale_*.deb)
list(LENGTH package made)
if(NOT made EQUAL 1)
    message(FATAL_ERROR "cpack made no single quenvale package: ${package}")
endif()
# field(name "package..."): the packages the control field `name` lists must include these.
function(field name)
    execute_process(COMMAND dpkg-deb --field ${package} ${name} OUTPUT_VARIABLE listed
                    COMMAND_ERROR_IS_FATAL ANY)
    foreach(wanted ${ARGN})
        if(NOT listed MATCHES "(^|, )${wanted}( |,|$)")
            message(FATAL_ERROR "${name} does not name ${wanted}: ${listed}")
        endif()
    endforeach()
    set(${name} "${listed}" PARENT_SCOPE)
endfunction()
# The MP3 encoder and the libraries dpkg-shlibdeps found (the voice data comes with the engine);
# every other format's encoder is recommended, not required.
field(Depends lame catdoc libespeak-ng1 libqt6widgets6 libqt6multimedia6 libuchardet0 libsoxr0)
field(Recommends vorbis-tools madplay sox ffmpeg)
foreach(needless espeak-ng-data libsox-fmt-base ffmpeg vorbis-tools)
    if(Depends MATCHES "(^|, )${needless}( |,|$)")
        message(FATAL_ERROR "the package need not depend on ${needless}: ${Depends}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --contents ${package} OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
set(icons ./usr/share/icons/hicolor)
foreach(file ./usr/bin/quenvale ./usr/share/applications/org.quenvale.Quenvale.desktop
             ./usr/share/metainfo/org.quenvale.Quenvale.metainfo.xml
             ${icons}/scalable/apps/org.quenvale.Quenvale.svg ${icons}/16x16/apps/org.quenvale.Quenvale.png
             ${icons}/24x24/apps/org.quenvale.Quenvale.png ${icons}/32x32/apps/org.quenvale.Quenvale.png
             ./usr/share/doc/quenvale/copyright ./usr/share/doc/quenvale/changelog.gz
             ./usr/share/man/man1/quenvale.1.gz ./usr/share/man/ru/man1/quenvale.1.gz
             ./usr/share/quenvale/DIC/exc_rus.txt ./usr/share/quenvale/earlier.sha256)
    string(FIND "${contents}" " ${file}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not install ${file}")
    endif()
endforeach()

# Every error and warning fails but those of the maintainer's address, which the project does not
# have yet: the control file names no address, the changelog's signature a local one.
execute_process(COMMAND lintian --fail-on none --display-info ${package} OUTPUT_VARIABLE said ERROR_VARIABLE errors
                RESULT_VARIABLE rc)
message(STATUS "lintian:\n${said}${errors}")
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" faults "${said}")
list(FILTER faults EXCLUDE REGEX " (malformed-contact Maintainer|bogus-mail-host-in-debian-changelog) ")
if(faults OR NOT rc EQUAL 0)
    message(FATAL_ERROR "lintian (exit ${rc}) finds fault with the package:${faults}\n${errors}")
endif()
