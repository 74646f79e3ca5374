#pragma once

#include "OutputState.h"

#include <QtCore/QObject>
#include <memory>

namespace chimewell {

/// The sound output that alarms play on (the system's default one): whether it is muted and
/// how loud it is set, told as it changes, and set on request. Where that cannot be known
/// (no sound server, or none that says), its state is not `known`.
class SoundOutput : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SoundOutput() override = default;

    virtual OutputState state() const = 0;
    /// Mutes or unmutes the output and sets its volume as `state` says; what is already so is
    /// left alone. changed() tells the outcome once the output has taken all of it.
    virtual void set(const OutputState& state) = 0;

signals:
    void changed();
};

/// The sound output of the system the program was built for.
std::unique_ptr<SoundOutput> makeSoundOutput();

} // namespace chimewell
