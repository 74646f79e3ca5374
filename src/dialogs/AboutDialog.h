#pragma once

#include <QtWidgets/QDialog>

namespace chimewell {

class LanguagePack;

// Language packs address the window and its controls by these names: keep them as they are.
inline constexpr struct AboutDialogNames
{
    const char *window = "frmAbout", *ok = "cmdOK", *tabs = "SSTab1", *icon = "picIcon",
               *title = "lblTitle", *version = "lblVersion", *ideas = "Label1", *contact = "Text2",
               *changelog = "Text1", *picture = "Image1", *line = "Line1",
               *disclaimer = "lblDisclaimer";
} aboutDialogNames{};

/// `frmAbout`, "About...": title, version, contact, change log and picture on three tabs.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    static const QString kContactAddress;
    static const QString kDisclaimer;

    AboutDialog(const QString& appDir, LanguagePack& language, QWidget* parent = nullptr);

    /// The whole file as text: UTF-8 when it is valid UTF-8, else Windows-1252; empty when
    /// the file is missing, hidden or unreadable.
    static QString readTextFile(const QString& path);

private:
    void loadTexts();

    QString m_appDir;
    LanguagePack& m_language;
};

} // namespace chimewell
