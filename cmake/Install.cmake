# Installing lays out the portable application folder in the prefix itself:
#   cmake --install build --prefix DIR     (then DIR/chimewell runs)
# The user's settings, alarms and own packs survive an install over an older version: the
# first Chimewell.ini is copied only where there is none, schedule/ is only created, and only
# the shipped packs are replaced.
set(ASSETS ${PROJECT_SOURCE_DIR}/assets)
# A finished program: stripped of the debugging symbols of the build, as the archive's is,
# also without --strip.
install(CODE "set(CMAKE_INSTALL_DO_STRIP TRUE)")
install(TARGETS chimewell chimewell-lpk RUNTIME DESTINATION .)
install(FILES ${ASSETS}/alarm.mp3 ${ASSETS}/ra2.ico ${ASSETS}/changelog.txt ${ASSETS}/timer.jpg
        DESTINATION .)
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsRuntime.cmake)
else()
    install(FILES ${ASSETS}/org.chimewell.Chimewell.metainfo.xml ${PROJECT_SOURCE_DIR}/LICENSE
            DESTINATION .)
    install(DIRECTORY ${ASSETS}/icons DESTINATION .)
endif()
# The picture that notifications show, found by its file wherever the folder is.
install(FILES ${PROJECT_SOURCE_DIR}/src/app/images/bell-64.png DESTINATION . RENAME chimewell.png)
foreach(pack ${CHIMEWELL_PACKS})
    install(FILES ${CHIMEWELL_APP_DIR}/packs/${pack}.lpk DESTINATION packs)
endforeach()
if(NOT WIN32)
    install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/install-menu.sh DESTINATION .)
endif()
install(CODE "
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    file(MAKE_DIRECTORY \"\${dir}/schedule\")
    if(EXISTS \"\${dir}/Chimewell.ini\")
        message(STATUS \"Kept: \${dir}/Chimewell.ini\")
    else()
        file(COPY \"${ASSETS}/Chimewell.ini\" DESTINATION \"\${dir}\")
        message(STATUS \"Installing: \${dir}/Chimewell.ini\")
    endif()
")

# cpack: one archive that unpacks to one folder, Chimewell-<version>-<system>-<machine>.
set(CPACK_PACKAGE_NAME Chimewell)
set(CPACK_PACKAGE_VENDOR Chimewell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME
    "Chimewell-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
