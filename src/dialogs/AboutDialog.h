#pragma once

#include <QtWidgets/QDialog>

namespace chimewell {

class LanguagePack;

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
