#include "WindowsSystemEvents.h"

#include <windows.h>

namespace chimewell {
namespace {

constexpr wchar_t kClassName[] = L"ChimewellSystemEvents";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (auto* events = reinterpret_cast<WindowsSystemEvents*>(
                   GetWindowLongPtrW(window, GWLP_USERDATA))) {
        events->handle(message, wParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

WindowsSystemEvents::WindowsSystemEvents(QObject* parent) : SystemEvents(parent)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass); // fails harmlessly when it is registered already
    // A top-level window that is never shown: a message-only window would not be sent the
    // broadcasts. Its messages are dispatched by Qt's event loop, as every window's of the
    // thread are.
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Chimewell", WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, instance, this);
}

WindowsSystemEvents::~WindowsSystemEvents()
{
    if (m_window) {
        SetWindowLongPtrW(static_cast<HWND>(m_window), GWLP_USERDATA, 0);
        DestroyWindow(static_cast<HWND>(m_window));
    }
}

bool WindowsSystemEvents::handle(unsigned message, unsigned long long wParam)
{
    switch (message) {
    case WM_TIMECHANGE:
        emit clockChanged();
        return true;
    case WM_POWERBROADCAST:
        // Automatic resume comes with every wake; resume-suspend only with a user's.
        if (wParam == PBT_APMRESUMEAUTOMATIC)
            emit resumed();
        return true;
    case WM_ENDSESSION:
        if (wParam)
            emit quitRequested();
        return true;
    default:
        return false;
    }
}

std::unique_ptr<SystemEvents> makeSystemEvents()
{
    return std::make_unique<WindowsSystemEvents>();
}

} // namespace chimewell
