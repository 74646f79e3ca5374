#pragma once

#include "FormLayout.h"

#include <QtCore/QPointer>
#include <QtWidgets/QWidget>
#include <functional>

namespace chimewell {

/// A window that exists at most once: loaded (made, hidden) on first touch, shown modeless and
/// brought forward when asked for again, and unloaded when the user closes it, so the next
/// touch loads it afresh from its design values.
class WindowSlot
{
public:
    using Factory = std::function<QWidget*()>;

    WindowSlot() = default;
    explicit WindowSlot(Factory factory) : m_factory(std::move(factory)) {}

    void setFactory(Factory factory) { m_factory = std::move(factory); }

    /// The window, loaded hidden when it is not loaded yet.
    QWidget* get()
    {
        if (!m_window && m_factory) {
            m_window = m_factory();
            if (m_window)
                m_window->setAttribute(Qt::WA_DeleteOnClose);
        }
        return m_window;
    }

    /// The window when it is loaded, without loading it.
    QWidget* loaded() const { return m_window; }

    void show()
    {
        if (QWidget* window = get())
            form::bringForward(window);
    }

private:
    Factory m_factory;
    QPointer<QWidget> m_window;
};

} // namespace chimewell
