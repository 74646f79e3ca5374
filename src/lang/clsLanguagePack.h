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
class clsLanguagePack final : public LanguageApplier
{
public:
    /// The shipped packs are about 4 KB; a file past this is not a pack.
    static constexpr qint64 kMaxPackBytes = 4 * 1024 * 1024;

    explicit clsLanguagePack(MessageBox& messages);
    clsLanguagePack(const clsLanguagePack&) = delete;
    clsLanguagePack& operator=(const clsLanguagePack&) = delete;

    /// The path given to the last load that completed.
    QString sCurrentFile;

    /// Decodes one scrambled text (each character code lowered by the pack shift).
    QString Decrypt(const QString& sText) const;
    /// Loads a pack; false, with the cause in `error`, when it could not be read.
    bool LoadPack(const QString& sFile, QString* error = nullptr);
    /// Title, captions, tab captions and tooltips of `frmForm` from the loaded pack.
    void SetLanguageInForm(QWidget* frmForm) const;
    /// The value of the first loose string named exactly `sName`, or "".
    QString GetString(const QString& sName) const;
    /// The files of `sFolder` matching `sExtension`, names only, sorted, joined by "|".
    QString EnumLanguagePacks(const QString& sFolder, const QString& sExtension) const;
    /// The same files as a list, so that a name holding "|" stays one name; nothing (and the
    /// same message) when the folder is missing.
    QStringList packFiles(const QString& sFolder, const QString& sExtension) const;

    bool CarregaPacotedeLinguagem(const QString& sArquivo, QString* error = nullptr)
    {
        return LoadPack(sArquivo, error);
    }
    void SetaLinguagemnoForm(QWidget* frmForm) const { SetLanguageInForm(frmForm); }
    QString EnumeraPacotesdeLinguagem(const QString& sDiretorio, const QString& sExtensao) const
    {
        return EnumLanguagePacks(sDiretorio, sExtensao);
    }

    bool loadPack(const QString& path, QString* error) override { return LoadPack(path, error); }
    void apply(QWidget* window) override { SetLanguageInForm(window); }

    const pack::Pack& data() const { return m_pack; }
    bool isLoaded() const { return m_loaded; }

private:
    static bool FolderExists(const QString& path);
    void applyTexts(QWidget* frmForm) const;

    MessageBox& m_messages;
    pack::Pack m_pack;
    bool m_loaded = false;
};

/// Sets a control's caption the way its kind shows one; false when it has none.
bool setCaption(QObject* control, const QString& text);
/// Sets a control's tooltip; false for controls without one (menus and their items).
bool setToolTip(QObject* control, const QString& text);

} // namespace chimewell
