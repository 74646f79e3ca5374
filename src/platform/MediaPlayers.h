#pragma once

#include <QtCore/QObject>
#include <memory>

namespace chimewell {

/// The media players of the desktop that can be told to pause and play (music, videos), so
/// that an alarm is not drowned by them. Every call returns at once: a player that does not
/// answer is given up on.
class MediaPlayers : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MediaPlayers() override = default;

    /// Pauses the players that play now, and remembers them.
    virtual void pausePlaying() = 0;
    /// Plays again the players that pausePlaying() paused and that nobody started or stopped
    /// since; forgets them.
    virtual void resumePaused() = 0;
};

/// The desktop's media players; none where the system offers no way to reach them.
std::unique_ptr<MediaPlayers> makeMediaPlayers();

} // namespace chimewell
