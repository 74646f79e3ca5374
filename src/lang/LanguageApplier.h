#pragma once

#include <QtCore/QString>

class QWidget;

namespace chimewell {

/// Loads the chosen language pack and puts its texts on a window.
class LanguageApplier
{
public:
    virtual ~LanguageApplier() = default;
    /// False, with the cause, when the pack could not be loaded; the pack loaded before
    /// stays in use.
    virtual bool loadPack(const QString& path, QString* error) = 0;
    /// Replaces the window's title, captions and tooltips by the loaded pack's texts.
    virtual void apply(QWidget* window) = 0;
};

} // namespace chimewell
