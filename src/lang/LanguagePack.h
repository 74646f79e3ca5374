#pragma once

#include "PackFormat.h"
#include "Texts.h"

#include <QtCore/QLocale>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <optional>

class QObject;
class QWidget;

namespace chimewell {

class MessageBox;

/// The program's one language pack: loads `.lpk` files, lists them, puts their texts on
/// windows, and gives translated() its words. A pack that fails to load leaves the one loaded
/// before in place.
class LanguagePack final : public TextSource
{
public:
    /// The shipped packs are about 5 KB; a file past this is not a pack.
    static constexpr qint64 kMaxPackBytes = 4 * 1024 * 1024;
    /// A caption or tooltip longer than this is shown cut, with "…".
    static constexpr int kMaxCaption = 200;

    explicit LanguagePack(MessageBox& messages);
    ~LanguagePack() override;
    LanguagePack(const LanguagePack&) = delete;
    LanguagePack& operator=(const LanguagePack&) = delete;

    /// Reads a pack without using it; nothing, with the cause in `error`, when it cannot be
    /// read. Only a regular file of a sensible size is opened.
    static std::optional<pack::Pack> read(const QString& file, QString* error = nullptr);
    /// Loads a pack; false, with the cause in `error`, when it could not be read.
    bool loadPack(const QString& file, QString* error = nullptr);
    /// Loads the pack that the settings in `appDir` name, when they name a file of its packs
    /// folder (anything else could point at any file of the system).
    bool loadChosen(const QString& appDir);
    /// Uses a pack read before.
    void use(pack::Pack pack);
    bool isLoaded() const { return m_loaded; }

    /// Title, captions, tab captions and tooltips of `window` from the loaded pack.
    void apply(QWidget* window) const;
    /// The value of the first loose string named exactly `name`, or "".
    QString looseString(const QString& name) const;
    /// The pack's language (its loose string `locale`); English without one.
    QLocale locale() const override;
    QString words(const Text& text, const QStringList& fill = {}) const override;
    /// The packs of `folder`, names only, sorted; nothing, after telling the user, when the
    /// folder is missing.
    QStringList packFiles(const QString& folder) const;

    /// `words` with its places (%1, %2...) filled from `fill`.
    static QString fill(const QString& words, const QStringList& fill);

private:
    MessageBox& m_messages;
    pack::Pack m_pack;
    bool m_loaded = false;
};

/// Sets a control's caption the way its kind shows one; false when it has none.
bool setCaption(QObject* control, const QString& text);
/// Sets a control's tooltip; false for controls without one (menus and their items).
bool setToolTip(QObject* control, const QString& text);

} // namespace chimewell
