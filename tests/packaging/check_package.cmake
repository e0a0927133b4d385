# Builds the Debian package from an already built tree into a scratch folder, unpacks it with
# dpkg-deb and checks its name, fields, file list, the user guide where the program looks for
# it, and that the unpacked busyscope-report runs.
# Run as: cmake -DBUILD_DIR=... -DWORK=... -DVERSION=... -DAPP_ID=... -DHELP_FROM_BINDIR=... -DHELP_SOURCE_DIR=... -P check_package.cmake
find_program(DPKG_DEB dpkg-deb)
find_program(DPKG dpkg)
if(NOT DPKG_DEB OR NOT DPKG)
    message("SKIP: dpkg-deb is missing, so no Debian package can be built here")
    return()
endif()

# check(CONDITION MESSAGE): fails with the message unless the condition, written as for if(), holds.
function(check condition message)
    cmake_language(EVAL CODE "if(NOT (${condition}))\n message(FATAL_ERROR [==[${message}]==])\n endif()")
endfunction()

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
check("result EQUAL 0" "cpack failed:\n${output}")

execute_process(COMMAND ${DPKG} --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${WORK}/busyscope_${VERSION}_${arch}.deb)
check("EXISTS ${deb}" "no ${deb}; cpack said:\n${output}")

foreach(field Package Version Section Depends Maintainer Description Homepage)
    execute_process(COMMAND ${DPKG_DEB} -f ${deb} ${field} OUTPUT_VARIABLE ${field}
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    check("NOT \"${${field}}\" STREQUAL \"\"" "the package has no ${field} field")
endforeach()
check("Version STREQUAL VERSION" "the package version is ${Version}, not ${VERSION}")
foreach(dependency libqt6widgets6 libc6 fonts-liberation qt6-qpa-plugins xdg-utils)
    string(FIND "${Depends}" "${dependency}" at)
    check("at GREATER -1" "the package does not depend on ${dependency}: ${Depends}")
endforeach()

set(root ${WORK}/root)
execute_process(COMMAND ${DPKG_DEB} -x ${deb} ${root} RESULT_VARIABLE result)
check("result EQUAL 0" "dpkg-deb -x failed")
set(expected
    usr/bin/busyscope
    usr/bin/busyscope-report
    usr/share/applications/${APP_ID}.desktop
    usr/share/metainfo/${APP_ID}.metainfo.xml
    usr/share/man/man1/busyscope.1.gz
    usr/share/man/man1/busyscope-report.1.gz
    usr/share/bash-completion/completions/busyscope-report
    usr/share/doc/busyscope/copyright
    usr/share/doc/busyscope/changelog.gz)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
file(GLOB_RECURSE guide LIST_DIRECTORIES false RELATIVE ${HELP_SOURCE_DIR} ${HELP_SOURCE_DIR}/*)
list(TRANSFORM guide PREPEND usr/share/busyscope/help/)
list(APPEND expected ${guide})
file(GLOB_RECURSE unpacked LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT expected)
list(SORT unpacked)
check("expected STREQUAL unpacked" "the package holds\n  ${unpacked}\ninstead of\n  ${expected}")

# F1 looks for the guide relative to the folder of the program.
check("EXISTS ${root}/usr/bin/${HELP_FROM_BINDIR}/index.html" "the program would not find its guide")

execute_process(COMMAND ${root}/usr/bin/busyscope-report --version RESULT_VARIABLE result
                OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
check("result EQUAL 0" "the unpacked busyscope-report --version failed")
check("version STREQUAL \"busyscope-report ${VERSION}\"" "the unpacked program says '${version}'")
file(REMOVE_RECURSE ${WORK})
message("busyscope_${VERSION}_${arch}.deb: ${Depends}")
