#pragma once

#include <functional>
#include <memory>

namespace chimewell {

class Autostart;
class Clock;
class DesktopNotifier;
class FilePicker;
class MessageBox;
class ShellOpen;
class SingleInstance;
class MediaPlayers;
class SoundDevice;
class SoundOutput;
class SystemEvents;
class TrayIcon;
class RemoteControl;
class RemoteControlTarget;

/// The operating-system services the windows use. The program fills it with the real ones;
/// tests fill it with fakes that answer at once.
struct PlatformServices
{
    Clock* clock = nullptr;
    MessageBox* messages = nullptr;
    ShellOpen* shell = nullptr;
    SingleInstance* instance = nullptr;
    TrayIcon* tray = nullptr;
    DesktopNotifier* notifier = nullptr;
    SoundDevice* sound = nullptr;
    FilePicker* picker = nullptr;
    Autostart* autostart = nullptr;
    SystemEvents* systemEvents = nullptr; // none in tests
    /// Publishes the program on the desktop's message bus; none in tests.
    std::function<std::unique_ptr<RemoteControl>(RemoteControlTarget&)> remoteControl = {};
    /// The sound output's mute and volume; none where it cannot be known.
    SoundOutput* output = nullptr;
    /// The desktop's media players, paused while an alarm rings; none where there are none.
    MediaPlayers* players = nullptr;
};

} // namespace chimewell
