#pragma once

#include <QtCore/QTimer>
#include <QtWidgets/QDialog>
#include <functional>

class QCheckBox;
class QListWidget;

namespace chimewell {

class LanguagePack;
struct PlatformServices;

/// `frmLanguage`, "Options": the language of every window, and whether the program starts
/// hidden when the user logs on. While it is loaded, its timer mirrors the check box into the
/// autostart entry and the settings file.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    /// `applyToOthers` puts the loaded pack on the main window and the two schedule dialogs,
    /// in that order, loading the dialogs hidden when they are closed.
    OptionsDialog(PlatformServices& services, const QString& appDir, LanguagePack& language,
                  std::function<void()> applyToOthers, QWidget* parent = nullptr);

    /// The program in the application folder, as the autostart entry runs it.
    QString executablePath() const;
    /// Leaves the mirror's ticks to the caller, who calls mirrorStartupEntry once a second
    /// (the program's one second ticker, so that it wakes once a second, not twice).
    void stopMirroring() { m_mirrorTimer.stop(); }
    /// Makes the autostart entry and the setting follow the check box; the dialog's own timer
    /// calls it each second.
    void mirrorStartupEntry();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadSettings();
    void applyChosenLanguage();

    PlatformServices& m_services;
    QString m_appDir;
    LanguagePack& m_language;
    std::function<void()> m_applyToOthers;
    QListWidget* m_list;
    QCheckBox* m_startupCheck;
    QTimer m_mirrorTimer;
};

} // namespace chimewell
