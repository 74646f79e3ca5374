#include "ClockFace.h"

#include <QtGui/QPainter>

namespace chimewell {

ClockFace::ClockFace(QWidget* parent) : QWidget(parent)
{
    // Everything under the text is painted here: nothing behind it needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void ClockFace::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void ClockFace::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setFont(font());
    painter.setPen(palette().windowText().color());
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace chimewell
