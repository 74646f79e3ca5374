#pragma once

#include <QtCore/QString>

class QWidget;

namespace chimewell {

enum class MessageIcon
{
    Information,
    Exclamation,
    Stop
};

/// Message boxes: title "Chimewell", one OK button, one icon, brought to the foreground.
/// `show` returns when the user has closed the box.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text, MessageIcon icon) = 0;
};

} // namespace chimewell
