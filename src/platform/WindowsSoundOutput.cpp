#include "MediaPlayers.h"
#include "SoundOutput.h"

#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <atomic>
#include <cmath>
#include <windows.h>
// (After windows.h, whose types they use.)
#include <endpointvolume.h>
#include <mmdeviceapi.h>

namespace chimewell {
namespace {

const CLSID kDeviceEnumerator = {
    0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID kDeviceEnumeratorInterface = {
    0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const IID kEndpointVolumeInterface = {
    0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};
const IID kEndpointCallbackInterface = {
    0x657804FA, 0xD6AD, 0x4496, {0x8A, 0x60, 0x35, 0x27, 0x52, 0xAF, 0x4F, 0x89}};

/// Told by Windows, in a thread of its own, that the endpoint's volume or mute changed; hands
/// it to the program's thread.
class ChangeListener final : public IAudioEndpointVolumeCallback
{
public:
    explicit ChangeListener(QObject* owner, std::function<void()> changed)
        : m_owner(owner), m_changed(std::move(changed))
    {}
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == kEndpointCallbackInterface) {
            *object = static_cast<IAudioEndpointVolumeCallback*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA) override
    {
        QMetaObject::invokeMethod(m_owner, m_changed, Qt::QueuedConnection);
        return S_OK;
    }

private:
    QObject* m_owner;
    std::function<void()> m_changed;
    std::atomic<ULONG> m_references{1};
};

/// The default render endpoint's volume (Core Audio): its mute and master volume, with a
/// listener for changes. Without an endpoint (no sound device, or the service not running) the
/// state is unknown, and the endpoint is looked for again every kRetryMs.
class WindowsSoundOutput final : public SoundOutput
{
public:
    static constexpr int kRetryMs = 5000;

    WindowsSoundOutput()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // Qt has mostly done so already
        m_retry.setInterval(kRetryMs);
        connect(&m_retry, &QTimer::timeout, this, &WindowsSoundOutput::acquire);
        acquire();
    }
    ~WindowsSoundOutput() override { release(); }

    OutputState state() const override { return m_state; }

    void set(const OutputState& wanted) override
    {
        if (!m_endpoint || !m_state.known)
            return;
        if (wanted.muted != m_state.muted)
            m_endpoint->SetMute(wanted.muted, nullptr);
        if (std::abs(wanted.volume - m_state.volume) > 1)
            m_endpoint->SetMasterVolumeLevelScalar(float(wanted.volume) / 100.0f, nullptr);
        refresh();
    }

private:
    void acquire()
    {
        release();
        IMMDeviceEnumerator* devices = nullptr;
        IMMDevice* device = nullptr;
        if (SUCCEEDED(CoCreateInstance(kDeviceEnumerator, nullptr, CLSCTX_ALL,
                                       kDeviceEnumeratorInterface,
                                       reinterpret_cast<void**>(&devices))) &&
            SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device)) &&
            SUCCEEDED(device->Activate(kEndpointVolumeInterface, CLSCTX_ALL, nullptr,
                                       reinterpret_cast<void**>(&m_endpoint)))) {
            m_listener = new ChangeListener(this, [this] { refresh(); });
            if (FAILED(m_endpoint->RegisterControlChangeNotify(m_listener))) {
                m_listener->Release();
                m_listener = nullptr;
            }
        }
        if (device)
            device->Release();
        if (devices)
            devices->Release();
        refresh();
    }

    void release()
    {
        if (m_endpoint && m_listener)
            m_endpoint->UnregisterControlChangeNotify(m_listener);
        if (m_listener)
            m_listener->Release();
        if (m_endpoint)
            m_endpoint->Release();
        m_listener = nullptr;
        m_endpoint = nullptr;
    }

    void refresh()
    {
        OutputState now;
        BOOL muted = FALSE;
        float level = 0;
        if (m_endpoint && SUCCEEDED(m_endpoint->GetMute(&muted)) &&
            SUCCEEDED(m_endpoint->GetMasterVolumeLevelScalar(&level)))
            now = {true, muted != FALSE, int(std::lround(std::clamp(level, 0.0f, 1.0f) * 100))};
        if (now.known)
            m_retry.stop();
        else if (!m_retry.isActive())
            m_retry.start();
        if (now == m_state)
            return;
        m_state = now;
        emit changed();
    }

    IAudioEndpointVolume* m_endpoint = nullptr;
    ChangeListener* m_listener = nullptr;
    OutputState m_state;
    QTimer m_retry;
};

} // namespace

std::unique_ptr<SoundOutput> makeSoundOutput()
{
    return std::make_unique<WindowsSoundOutput>();
}

std::unique_ptr<MediaPlayers> makeMediaPlayers()
{
    return nullptr; // no desktop-wide way to pause media players
}

} // namespace chimewell
