# Installs the build into a scratch prefix and checks what a desktop needs: the program, a
# valid desktop entry and AppStream metainfo, the icons in the hicolor theme and the user guide.
# Run as: cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installation into ${PREFIX} failed")
endif()

set(expected
    bin/busyscope
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/busyscope/help/index.html)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(path IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

execute_process(COMMAND desktop-file-validate ${PREFIX}/share/applications/${APP_ID}.desktop
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejected the desktop entry")
endif()
execute_process(COMMAND appstreamcli validate --no-net ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli rejected the metainfo")
endif()
file(REMOVE_RECURSE ${PREFIX})
