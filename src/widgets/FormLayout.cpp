#include "FormLayout.h"

#include "NamedComboBox.h"

#include <QtCore/QSet>
#include <QtGui/QAction>
#include <QtGui/QFontDatabase>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QScreen>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLayout>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStyle>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QTabWidget>
#include <algorithm>

namespace chimewell::form {

void markAsPicture(QWidget* label)
{
    label->setProperty("picture", true);
}

bool isPicture(const QObject* control)
{
    return control->property("picture").toBool();
}

void nameByToolTip(QWidget* control, const QString& toolTip)
{
    control->setProperty("namedByToolTip", true);
    control->setToolTip(toolTip);
    control->setAccessibleName(toolTip);
}

bool isNamedByToolTip(const QObject* control)
{
    return control->property("namedByToolTip").toBool();
}

void nameByFrame(QWidget* control)
{
    control->setProperty("namedByFrame", true);
    renameByFrames(control->window());
}

void nameWithFrame(QWidget* choice)
{
    choice->setProperty("namedWithFrame", true);
    renameByFrames(choice->window());
}

void renameByFrames(QWidget* window)
{
    for (NamedComboBox* combo : window->findChildren<NamedComboBox*>())
        combo->refreshName();
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const bool byFrame = control->property("namedByFrame").toBool();
        const bool withFrame = control->property("namedWithFrame").toBool();
        if (!byFrame && !withFrame)
            continue;
        for (QWidget* holder = control->parentWidget(); holder; holder = holder->parentWidget())
            if (auto* frame = qobject_cast<QGroupBox*>(holder)) {
                QString name = frame->title().remove(QLatin1Char('&'));
                if (auto* button = qobject_cast<QAbstractButton*>(control); button && withFrame)
                    name += QStringLiteral(": ") + button->text().remove(QLatin1Char('&'));
                control->setAccessibleName(name);
                break;
            }
    }
}

void setFixedBorder(QWidget* window, Qt::WindowType type)
{
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

namespace {

// The access key of a caption ("&Add" -> 'a'), or nothing; "&&" is a plain "&".
QChar accessKey(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

QString withKey(const QString& text, const QSet<QChar>& taken)
{
    // The caption without its access key ("&&" stays), then "&" before the first free letter.
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            plain += text[i];
        else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
            plain += QStringLiteral("&&"), ++i;
    }
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == QLatin1Char('&'))
            ++i;
        else if (plain[i].isLetterOrNumber() && !taken.contains(plain[i].toLower()))
            return plain.left(i) + QLatin1Char('&') + plain.mid(i);
    }
    return plain;
}

} // namespace

void uniqueAccessKeys(QWidget* window)
{
    QSet<QChar> taken;
    if (auto* main = qobject_cast<QMainWindow*>(window))
        for (const QAction* menu : main->menuBar()->actions())
            taken.insert(accessKey(menu->text()));
    // The captions of the window's buttons and labelled fields, as they are and as they become.
    const auto caption = [](QWidget* control) {
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->text();
        return static_cast<QLabel*>(control)->text();
    };
    const auto setCaption = [](QWidget* control, const QString& text) {
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(text);
        else
            static_cast<QLabel*>(control)->setText(text);
    };
    // First every key as given, the first of each kept; then the rest take free letters.
    QList<QWidget*> later;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(control);
        if (control->window() != window ||
            !(qobject_cast<QAbstractButton*>(control) || (label && label->buddy())))
            continue;
        const QChar key = accessKey(caption(control));
        if (!key.isNull() && !taken.contains(key))
            taken.insert(key);
        else if (!key.isNull() || control->property("wantsAccessKey").toBool())
            later << control;
    }
    for (QWidget* control : std::as_const(later)) {
        const QString keyed = withKey(caption(control), taken);
        taken.insert(accessKey(keyed));
        setCaption(control, keyed);
    }
}

void bringForward(QWidget* window)
{
    window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window->show();
    window->raise();
    window->activateWindow();
}

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
    // Drawn at three times the size, so the mark stays crisp on screens scaled up to that.
    constexpr qreal kRatio = 3.0;
    QPixmap pixmap(qRound(side * kRatio), qRound(side * kRatio));
    pixmap.setDevicePixelRatio(kRatio);
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

namespace chimewell::form {
namespace {

const char* const kDesignGeometry = "designGeometry";

bool isContainer(const QWidget* w)
{
    // Plain widgets (the client area, picture boxes, tab pages) and frames hold controls;
    // every other widget's children are its own parts.
    return w->metaObject() == &QWidget::staticMetaObject || qobject_cast<const QGroupBox*>(w);
}

QList<QWidget*> controlsOf(QWidget* container)
{
    QList<QWidget*> out;
    for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow())
            out << w;
    return out;
}

QRect design(const QWidget* w)
{
    return w->property(kDesignGeometry).toRect();
}

// Each fit starts again from the design, so a shorter language makes the window smaller again.
void restoreDesign(QWidget* w)
{
    const QVariant stored = w->property(kDesignGeometry);
    if (stored.isValid())
        w->setGeometry(stored.toRect());
    else
        w->setProperty(kDesignGeometry, w->geometry());
    if (isContainer(w))
        for (QWidget* child : controlsOf(w))
            restoreDesign(child);
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        for (int i = 0; i < tabs->count(); ++i)
            for (QWidget* child : controlsOf(tabs->widget(i)))
                restoreDesign(child);
}

int buttonTextWidth(const QAbstractButton* b)
{
    QString text = b->text();
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    const QStyle* style = b->style();
    return b->fontMetrics().horizontalAdvance(text) +
           2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
}

// Moves the siblings of `grown` that stand right of or below its old edges along with it.
void pushSiblings(QWidget* grown, const QRect& before, int dw, int dh)
{
    for (QWidget* s : controlsOf(grown->parentWidget())) {
        if (s == grown)
            continue;
        const QRect g = s->geometry();
        const bool sameRow = g.top() < before.bottom() && g.bottom() > before.top();
        if (dw > 0 && sameRow && g.left() >= before.right() - 1)
            s->move(g.x() + dw, s->y());
        if (dh > 0 && g.top() >= before.bottom() - 1)
            s->move(s->x(), g.y() + dh);
    }
}

// Fits the controls of `container` and returns the size its contents now need, keeping the
// design's margins on the right and at the bottom.
QSize fitContents(QWidget* container, const QSize& designSize)
{
    QList<QWidget*> controls = controlsOf(container);
    std::sort(controls.begin(), controls.end(), [](QWidget* a, QWidget* b) {
        return design(a).y() != design(b).y() ? design(a).y() < design(b).y()
                                              : design(a).x() < design(b).x();
    });
    int designRight = 0;
    int designBottom = 0;
    for (QWidget* c : controls) {
        designRight = std::max(designRight, design(c).right() + 1);
        designBottom = std::max(designBottom, design(c).bottom() + 1);
    }
    for (QWidget* c : controls) {
        QSize need;
        if (isContainer(c)) {
            const QSize contents = fitContents(c, design(c).size());
            need = QSize(std::max(0, contents.width() - c->width()),
                         std::max(0, contents.height() - c->height()));
            need = need.expandedTo(missingRoom(c));
        } else if (auto* tabs = qobject_cast<QTabWidget*>(c)) {
            need = missingRoom(c);
            for (int i = 0; i < tabs->count(); ++i) {
                QWidget* page = tabs->widget(i);
                const QSize contents = fitContents(page, page->size());
                need = need.expandedTo(
                    QSize(contents.width() - page->width(), contents.height() - page->height()));
            }
        } else {
            need = missingRoom(c);
        }
        if (need.width() <= 0 && need.height() <= 0)
            continue;
        const QRect before = c->geometry();
        const int dw = std::max(0, need.width());
        const int dh = std::max(0, need.height());
        c->resize(before.width() + dw, before.height() + dh);
        pushSiblings(c, before, dw, dh);
    }
    QSize needed(designSize);
    for (QWidget* c : controls) {
        needed.setWidth(
            std::max(needed.width(), c->geometry().right() + 1 + designSize.width() - designRight));
        needed.setHeight(std::max(needed.height(),
                                  c->geometry().bottom() + 1 + designSize.height() - designBottom));
    }
    return needed;
}

} // namespace

QSize missingRoom(const QWidget* control)
{
    int width = 0;
    int height = 0;
    if (control->isHidden())
        return {};
    if (auto* b = qobject_cast<const QAbstractButton*>(control)) {
        if (!b->text().isEmpty() && b->icon().isNull())
            width =
                (qobject_cast<const QPushButton*>(b) ? buttonTextWidth(b) : b->sizeHint().width()) -
                b->width();
    } else if (auto* l = qobject_cast<const QLabel*>(control)) {
        if (!l->text().isEmpty() && l->pixmap().isNull()) {
            if (l->wordWrap())
                height = l->heightForWidth(l->width()) - l->height();
            else
                width = l->sizeHint().width() - l->width();
        }
    } else if (auto* g = qobject_cast<const QGroupBox*>(control)) {
        if (!g->title().isEmpty())
            width = g->minimumSizeHint().width() - g->width();
    } else if (auto* t = qobject_cast<const QTabWidget*>(control)) {
        width = t->tabBar()->sizeHint().width() + 4 - t->width();
    }
    return {std::max(0, width), std::max(0, height)};
}

void fitTexts(QWidget* window)
{
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    QWidget* root = mainWindow ? mainWindow->centralWidget() : window;
    if (!root)
        return;
    // A window laid out by a layout fits its texts by itself; it only needs the room asked.
    if (root->layout()) {
        root->layout()->invalidate();
        root->layout()->activate();
        // A style may ask less room of a button than its caption takes: it gets that much.
        for (QWidget* control : root->findChildren<QWidget*>()) {
            if (control->isWindow())
                continue;
            const QSize room = missingRoom(control);
            if (!room.isNull())
                control->setMinimumSize(control->minimumSize().expandedTo(control->size() + room));
        }
        root->layout()->activate();
        root->resize(root->size().expandedTo(root->sizeHint()));
        return;
    }
    const bool fixed = root->minimumSize() == root->maximumSize();
    QVariant stored = root->property(kDesignGeometry);
    if (!stored.isValid()) {
        root->setProperty(kDesignGeometry, QRect(QPoint(), root->size()));
        stored = root->property(kDesignGeometry);
    }
    const QSize designSize = stored.toRect().size();
    for (QWidget* c : controlsOf(root))
        restoreDesign(c);
    QSize needed = fitContents(root, designSize);
    // A translation with absurdly long captions does not make a window larger than the
    // screen, its frame included; but nothing shrinks below its design.
    if (const QScreen* screen = window->screen())
        needed = needed.boundedTo(screen->availableSize() - QSize(32, 64)).expandedTo(designSize);
    if (fixed)
        root->setFixedSize(needed);
    else
        root->resize(needed);
}

bool closeOnEscape(QWidget* window, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    event->accept();
    window->close();
    return true;
}

} // namespace chimewell::form
