#pragma once

#include "LanguageApplier.h"
#include "PackFormat.h"

#include <QtCore/QString>

class QObject;
class QWidget;

namespace chimewell {

class MessageBox;

/// The program's one language pack: loads `.lpk` files, lists them, and puts their texts on
/// windows. A pack that fails to load leaves the one loaded before in place.
class LanguagePack final : public LanguageApplier
{
public:
    /// The shipped packs are about 4 KB; a file past this is not a pack.
    static constexpr qint64 kMaxPackBytes = 4 * 1024 * 1024;

    explicit LanguagePack(MessageBox& messages);
    LanguagePack(const LanguagePack&) = delete;
    LanguagePack& operator=(const LanguagePack&) = delete;

    /// The path given to the last load that completed.
    QString currentFile;

    /// Decodes one scrambled text (each character code lowered by the pack shift).
    QString unscramble(const QString& text) const;
    /// Loads a pack; false, with the cause in `error`, when it could not be read.
    bool loadPack(const QString& file, QString* error = nullptr) override;
    /// Title, captions, tab captions and tooltips of `window` from the loaded pack.
    void apply(QWidget* window) override;
    /// The value of the first loose string named exactly `name`, or "".
    QString looseString(const QString& name) const;
    /// The files of `folder` matching `pattern`, names only, sorted, joined by "|".
    QString packList(const QString& folder, const QString& pattern) const;
    /// The same files as a list, so that a name holding "|" stays one name; nothing (and the
    /// same message) when the folder is missing.
    QStringList packFiles(const QString& folder, const QString& pattern) const;

    const pack::Pack& data() const { return m_pack; }
    bool isLoaded() const { return m_loaded; }

private:
    static bool folderExists(const QString& path);
    void applyTexts(QWidget* window) const;

    MessageBox& m_messages;
    pack::Pack m_pack;
    bool m_loaded = false;
};

/// Sets a control's caption the way its kind shows one; false when it has none.
bool setCaption(QObject* control, const QString& text);
/// Sets a control's tooltip; false for controls without one (menus and their items).
bool setToolTip(QObject* control, const QString& text);

} // namespace chimewell
