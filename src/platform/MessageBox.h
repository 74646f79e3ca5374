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

/// Message boxes: title "Chimewell", one icon, brought to the foreground, modal to the window
/// that asks and to no other. They return when the user has closed the box.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    /// A box with one OK button.
    virtual void show(const QString& text, MessageIcon icon) = 0;
    /// A question with Yes and No (No by default): true for Yes.
    virtual bool ask(const QString& text) = 0;
};

} // namespace chimewell
