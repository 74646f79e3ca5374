#include "ClockFace.h"

#include "widgets/FormLayout.h"

#include <QtCore/QLocale>
#include <QtCore/QTime>
#include <QtGui/QPainter>
#include <QtWidgets/QAccessibleWidget>

namespace chimewell {
namespace {

// For screen readers the clock is a read-only text, named by its tooltip.
class AccessibleClock : public QAccessibleWidget
{
public:
    explicit AccessibleClock(ClockFace* clock) : QAccessibleWidget(clock, QAccessible::StaticText)
    {}
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value || kind == QAccessible::Description)
            return static_cast<ClockFace*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

// The locale's long time format without the time zone ("t") that Qt's long format adds.
QString longTimeFormat()
{
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

QAccessibleInterface* accessibleClock(const QString& className, QObject* object)
{
    if (className == QLatin1String("chimewell::ClockFace") && object->isWidgetType())
        return new AccessibleClock(static_cast<ClockFace*>(object));
    return nullptr;
}

} // namespace

ClockFace::ClockFace(QWidget* parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(accessibleClock), true);
    Q_UNUSED(installed);
    // Everything under the text is painted here: nothing behind it needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    form::nameByToolTip(this, QStringLiteral("Current time"));
}

void ClockFace::showTime(const QTime& time)
{
    static const QString format = longTimeFormat(); // read once: the clock runs every second
    const QString text = QLocale().toString(time, format);
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
