#pragma once

#include <QtCore/QSize>
#include <QtCore/QString>
#include <QtGui/QFont>

class QKeyEvent;
class QPushButton;
class QWidget;

// Windows are laid out as designed: positions in twips (1/1440 inch, 15 to a pixel at
// 96 dots per inch) relative to the container, and the fonts each control was given.

namespace chimewell::form {

constexpr int kTwipsPerPixel = 15;

inline int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

/// Gives a control its design name, by which language packs and tests find it.
template <typename T> T* named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

/// Marks a label as a picture box: it shows a picture and takes no caption from a pack.
void markAsPicture(QWidget* label);
bool isPicture(const QObject* control);

/// Gives a control whose caption is a mark ("...", a play symbol) or that has none its
/// tooltip, which screen readers then read as its name, also when a pack translates it.
void nameByToolTip(QWidget* control, const QString& toolTip);
bool isNamedByToolTip(const QObject* control);

/// Names a control that has no label of its own for screen readers by the title of the frame
/// it stands in; renameByFrames() names it again once a pack has translated the frame.
void nameByFrame(QWidget* control);
/// Names a choice for screen readers by its frame's title and its caption ("Snooze length: 5
/// minutes"), for choices whose captions other frames of the window share.
void nameWithFrame(QWidget* choice);
void renameByFrames(QWidget* window);

/// The border of every window of the program: fixed, with a close box and no minimise and
/// maximise boxes. Windows have no owner; a dialog (`Qt::Dialog`) stays with the window that
/// opened it, in front of it, and goes where it goes.
void setFixedBorder(QWidget* window, Qt::WindowType type = Qt::Window);

/// Gives every control of `window` that has an access key ("&Add") one no other control of it
/// has, keeping the first of each and the menu bar's, and gives one to the controls that ask
/// for it by the property "wantsAccessKey" (captions made while the program runs): each takes
/// the first letter of its caption that is free.
void uniqueAccessKeys(QWidget* window);

/// Shows `window` in its normal state, in front of the windows that cover it and ready for
/// the keyboard.
void bringForward(QWidget* window);

/// Puts `widget` at the design position (left, top, width, height in twips).
void place(QWidget* widget, int left, int top, int width, int height);

/// A font given to a control at design time; the toolkit substitutes a near family when the
/// named one is not installed.
QFont font(const QString& family, qreal points, bool bold = false);
inline QFont verdana(qreal points, bool bold = false)
{
    return font(QStringLiteral("Verdana"), points, bold);
}

/// The window's default font, set explicitly so a control does not inherit its container's.
QFont defaultFont();

enum class Glyph
{
    Play,
    Stop
};

/// A play or stop button: the "Marlett" symbol font's mark where that font is installed
/// ("4" plays, "g" stops), otherwise the same mark drawn as an icon.
void makeSymbolButton(QPushButton* button, Glyph glyph, qreal points);

} // namespace chimewell::form

namespace chimewell::form {

/// Makes every caption of `window` fit: starting from the design positions each time, a
/// control whose text needs more room grows (a word-wrapping label grows downwards), the
/// controls to its right or below it in the same container move along, and containers and
/// the window grow with them. Nothing ever shrinks below its design size, and the window never
/// grows past the screen.
void fitTexts(QWidget* window);

/// Closes `window` when `event` is the Escape key (a dialog's own Escape would only hide it,
/// where closing also unloads it); false for any other key.
bool closeOnEscape(QWidget* window, QKeyEvent* event);

/// The room a control's text needs beyond what it has: width and height in pixels, each 0
/// when it fits (controls without a text always fit).
QSize missingRoom(const QWidget* control);

} // namespace chimewell::form
