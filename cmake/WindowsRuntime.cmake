# What Chimewell.exe needs beside it on a Windows without Qt: the Qt libraries it links, the
# plugins Qt loads (the Windows platform, the native style, the icon and JPEG readers), the
# compiler's runtime, and the licences of all of them in LICENSE. The DLL check of the tests
# (tests/windows/check-dlls.sh) fails when a shipped file imports a DLL that is not here.
foreach(library Core Gui Widgets Network)
    install(FILES $<TARGET_FILE:Qt6::${library}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> $<TARGET_FILE:Qt6::QJpegPlugin>
        DESTINATION imageformats)

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "The compiler's runtime ${dll} was not found")
        endif()
        install(FILES ${path} DESTINATION .)
    endforeach()
endif()

# The program's licence, then the notices and the licence of what travels with it.
set(licence ${CMAKE_BINARY_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE text)
file(READ ${ASSETS}/windows/NOTICE.txt notice)
file(READ ${ASSETS}/windows/LGPL-3.txt lgpl)
file(WRITE ${licence} "${text}${notice}${lgpl}")
install(FILES ${licence} DESTINATION .)

# Without their debugging symbols, as the program itself (cpack strips the targets): the
# compiler's runtime would otherwise be ten times its size.
if(CMAKE_STRIP)
    install(CODE "
        file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
        foreach(dll \${dlls})
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\")
        endforeach()
    ")
endif()
