# The operating-system side of the program: one implementation file per service and system.
set(P ${CMAKE_CURRENT_LIST_DIR})
set(CHIMEWELL_PLATFORM_SOURCES
    ${P}/Autostart.h
    ${P}/DBusNotifier.cpp
    ${P}/DBusNotifier.h
    ${P}/DisplaySetup.h
    ${P}/FilePicker.h
    ${P}/FormLayout.cpp
    ${P}/FormLayout.h
    ${P}/QtFilePicker.cpp
    ${P}/QtFilePicker.h
    ${P}/QtSoundDevice.cpp
    ${P}/QtSoundDevice.h
    ${P}/QtTrayIcon.cpp
    ${P}/QtTrayIcon.h
    ${P}/SoundDevice.h
    ${P}/SystemEvents.h
    ${P}/TrayIcon.h
)
if(WIN32)
    # Registry comes from the chimewell_registry library.
    list(APPEND CHIMEWELL_PLATFORM_SOURCES ${P}/WindowsAutostart.cpp ${P}/WindowsAutostart.h
         ${P}/WindowsSystemEvents.cpp ${P}/WindowsSystemEvents.h)
    set(CHIMEWELL_EXECUTABLE_NAME Chimewell)
else()
    list(APPEND CHIMEWELL_PLATFORM_SOURCES ${P}/XdgAutostart.cpp ${P}/XdgAutostart.h
         ${P}/LinuxSystemEvents.cpp ${P}/LinuxSystemEvents.h)
    set(CHIMEWELL_EXECUTABLE_NAME chimewell)
endif()
