#include "SoundOutput.h"

#include <QtCore/QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <pulse/pulseaudio.h>
#include <string>
#include <thread>

namespace chimewell {
namespace {

/// The default sink of the PulseAudio server (or PipeWire's PulseAudio service) that the
/// program's sound plays on. libpulse runs in a thread of its own; what it learns is handed to
/// the program's thread, where state() and changed() live. A server that goes away makes the
/// state unknown, and is connected to again every kRetryMs.
class PulseSoundOutput final : public SoundOutput
{
public:
    static constexpr int kRetryMs = 2000;
    /// How long the program's end waits for a change it asked for to be made.
    static constexpr int kFlushMs = 1000;

    PulseSoundOutput()
    {
        m_retry.setSingleShot(true);
        connect(&m_retry, &QTimer::timeout, this, &PulseSoundOutput::connectServer);
        m_loop = pa_threaded_mainloop_new();
        if (!m_loop || pa_threaded_mainloop_start(m_loop) < 0)
            return;
        connectServer();
    }

    ~PulseSoundOutput() override
    {
        if (!m_loop)
            return;
        // What was asked last (the output put back as the program ends) is made before leaving.
        for (int waited = 0; m_pending > 0 && waited < kFlushMs; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        pa_threaded_mainloop_lock(m_loop);
        dropContext();
        pa_threaded_mainloop_unlock(m_loop);
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }

    OutputState state() const override { return m_state; }

    void set(const OutputState& wanted) override
    {
        if (!m_loop || !m_state.known)
            return;
        pa_threaded_mainloop_lock(m_loop);
        if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY && !m_sink.empty()) {
            if (wanted.muted != m_state.muted)
                track(pa_context_set_sink_mute_by_name(m_context, m_sink.c_str(), wanted.muted,
                                                       &PulseSoundOutput::onDone, this));
            if (std::abs(wanted.volume - m_state.volume) > 1 && m_volume.channels > 0) {
                pa_cvolume volume = m_volume;
                const auto level = pa_volume_t(std::lround(
                    double(PA_VOLUME_NORM) * std::clamp(wanted.volume, 0, 100) / 100.0));
                pa_cvolume_scale(&volume, level);
                track(pa_context_set_sink_volume_by_name(m_context, m_sink.c_str(), &volume,
                                                         &PulseSoundOutput::onDone, this));
            }
        }
        pa_threaded_mainloop_unlock(m_loop);
    }

private:
    // The program's thread.
    void connectServer()
    {
        pa_threaded_mainloop_lock(m_loop);
        dropContext();
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Chimewell");
        if (m_context) {
            pa_context_set_state_callback(m_context, &PulseSoundOutput::onContextState, this);
            if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
                dropContext();
        }
        const bool failed = !m_context;
        pa_threaded_mainloop_unlock(m_loop);
        if (failed)
            m_retry.start(kRetryMs);
    }

    void publish(const OutputState& state)
    {
        QMetaObject::invokeMethod(
            this,
            [this, state] {
                if (state == m_state)
                    return;
                m_state = state;
                emit changed();
            },
            Qt::QueuedConnection);
    }

    // Below: with the loop's lock held, or in its thread.
    void dropContext()
    {
        if (!m_context)
            return;
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
        m_pending = 0;
    }

    void track(pa_operation* operation)
    {
        if (!operation)
            return;
        ++m_pending;
        pa_operation_unref(operation);
    }

    void lookAgain()
    {
        if (pa_operation* o =
                pa_context_get_server_info(m_context, &PulseSoundOutput::onServerInfo, this))
            pa_operation_unref(o);
    }

    static void onContextState(pa_context* context, void* data)
    {
        auto* self = static_cast<PulseSoundOutput*>(data);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            pa_context_set_subscribe_callback(context, &PulseSoundOutput::onEvent, self);
            if (pa_operation* o = pa_context_subscribe(
                    context,
                    pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER),
                    nullptr, nullptr))
                pa_operation_unref(o);
            self->lookAgain();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            self->publish({});
            QMetaObject::invokeMethod(
                self, [self] { self->m_retry.start(kRetryMs); }, Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }

    static void onEvent(pa_context*, pa_subscription_event_type_t, uint32_t, void* data)
    {
        auto* self = static_cast<PulseSoundOutput*>(data);
        // While a change of the program's own is being made, its halves are not told.
        if (self->m_pending == 0)
            self->lookAgain();
    }

    static void onDone(pa_context*, int, void* data)
    {
        auto* self = static_cast<PulseSoundOutput*>(data);
        if (self->m_pending > 0 && --self->m_pending == 0)
            self->lookAgain();
    }

    static void onServerInfo(pa_context* context, const pa_server_info* info, void* data)
    {
        auto* self = static_cast<PulseSoundOutput*>(data);
        if (!info || !info->default_sink_name) {
            self->m_sink.clear();
            self->publish({});
            return;
        }
        self->m_sink = info->default_sink_name;
        if (pa_operation* o = pa_context_get_sink_info_by_name(context, self->m_sink.c_str(),
                                                               &PulseSoundOutput::onSinkInfo, self))
            pa_operation_unref(o);
    }

    static void onSinkInfo(pa_context*, const pa_sink_info* info, int last, void* data)
    {
        auto* self = static_cast<PulseSoundOutput*>(data);
        if (last < 0) {
            self->publish({}); // the sink went between the two questions
            return;
        }
        if (!info)
            return;
        self->m_volume = info->volume;
        const double level = double(pa_cvolume_max(&info->volume)) / PA_VOLUME_NORM;
        self->publish({true, info->mute != 0, int(std::lround(std::min(level, 1.0) * 100))});
    }

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    std::string m_sink;            // the default sink's name
    pa_cvolume m_volume{};         // its volume by channel, kept as a change scales it
    std::atomic<int> m_pending{0}; // changes asked for and not yet made
    OutputState m_state;           // the program's thread
    QTimer m_retry;
};

} // namespace

std::unique_ptr<SoundOutput> makeSoundOutput()
{
    return std::make_unique<PulseSoundOutput>();
}

} // namespace chimewell
