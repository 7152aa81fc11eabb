# Makes the Debian package as the README says (cpack -G DEB) and checks that it installs the
# desktop files and depends on what the program starts and links at run time.
#   cmake -DBUILD=<build folder> -DWORK=<scratch folder> -P debian_package.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND cpack -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK} OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB package ${WORK}/quenvale_*.deb)
list(LENGTH package made)
if(NOT made EQUAL 1)
    message(FATAL_ERROR "cpack made no single quenvale package: ${package}")
endif()
execute_process(COMMAND dpkg-deb --field ${package} Depends OUTPUT_VARIABLE depends COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-deb --contents ${package} OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
# The voice and the encoders it starts; the libraries dpkg-shlibdeps found.
foreach(name espeak-ng-data lame vorbis-tools madplay sox libsox-fmt-base ffmpeg
             libespeak-ng1 libqt6widgets6 libqt6multimedia6 libuchardet0 libsoxr0)
    if(NOT depends MATCHES "(^|, )${name}( |,|$)")
        message(FATAL_ERROR "the package does not depend on ${name}: ${depends}")
    endif()
endforeach()
foreach(file ./usr/bin/quenvale ./usr/share/applications/org.quenvale.Quenvale.desktop
             ./usr/share/metainfo/org.quenvale.Quenvale.metainfo.xml
             ./usr/share/icons/hicolor/scalable/apps/org.quenvale.Quenvale.svg
             ./usr/share/quenvale/DIC/exc_rus.txt)
    string(FIND "${contents}" " ${file}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not install ${file}")
    endif()
endforeach()
