#pragma once

#include <QtCore/QObject>
#include <QtCore/QTimer>

namespace chimewell {

/// Stops the text cursor's blinking after a while without input, as GTK desktops do: a
/// blinking cursor in a window left open beside the clock would wake the program twice a
/// second for nothing. Any key or mouse press brings the blinking back.
class CursorBlinkLimit : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;

    explicit CursorBlinkLimit(int timeoutMs = kDefaultTimeoutMs, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopBlinking();

    int m_flashTime;
    QTimer m_idle;
};

} // namespace chimewell
