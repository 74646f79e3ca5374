#include "CursorBlinkLimit.h"

#include <QtCore/QEvent>
#include <QtWidgets/QApplication>

namespace chimewell {

CursorBlinkLimit::CursorBlinkLimit(int timeoutMs, QObject* parent)
    : QObject(parent), m_flashTime(QApplication::cursorFlashTime())
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(timeoutMs);
    connect(&m_idle, &QTimer::timeout, this, &CursorBlinkLimit::stopBlinking);
    qApp->installEventFilter(this);
    m_idle.start();
}

bool CursorBlinkLimit::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
        if (QApplication::cursorFlashTime() != m_flashTime)
            QApplication::setCursorFlashTime(m_flashTime);
        m_idle.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CursorBlinkLimit::stopBlinking()
{
    // A flash time of 0 shows the cursor steadily.
    QApplication::setCursorFlashTime(0);
}

} // namespace chimewell
