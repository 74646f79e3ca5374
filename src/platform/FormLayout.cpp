#include "FormLayout.h"

#include <QtGui/QFontDatabase>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPushButton>

namespace chimewell::form {

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

QFont font(const QString& family, qreal points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont defaultFont()
{
    QFont f = QApplication::font();
    f.setFamily(f.family());
    f.setPointSizeF(f.pointSizeF());
    f.setBold(false);
    return f;
}

void makeSymbolButton(QPushButton* button, Glyph glyph, qreal points)
{
    if (QFontDatabase::families().contains(QStringLiteral("Marlett"))) {
        button->setFont(font(QStringLiteral("Marlett"), points));
        button->setText(glyph == Glyph::Play ? QStringLiteral("4") : QStringLiteral("g"));
        return;
    }
    const int side = qRound(points * 96.0 / 72.0);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(button->palette().color(QPalette::ButtonText));
    if (glyph == Glyph::Play) {
        QPainterPath triangle;
        triangle.moveTo(side * 0.2, side * 0.1);
        triangle.lineTo(side * 0.9, side * 0.5);
        triangle.lineTo(side * 0.2, side * 0.9);
        triangle.closeSubpath();
        painter.drawPath(triangle);
    } else {
        painter.drawRect(QRectF(side * 0.2, side * 0.2, side * 0.6, side * 0.6));
    }
    painter.end();
    // A disabled button greys the icon by itself.
    button->setIcon(QIcon(pixmap));
    button->setIconSize(QSize(side, side));
    button->setText(QString());
}

} // namespace chimewell::form
