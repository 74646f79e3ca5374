#pragma once

#include <QtCore/QTimer>
#include <QtWidgets/QDialog>
#include <functional>

class QCheckBox;
class QListWidget;

namespace chimewell {

class clsLanguagePack;
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
    OptionsDialog(PlatformServices& services, const QString& appDir, clsLanguagePack& language,
                  std::function<void()> applyToOthers, QWidget* parent = nullptr);

    /// The program in the application folder, as the autostart entry runs it.
    QString executablePath() const;
    /// Leaves `Timer1`'s ticks to the caller, who calls Timer1_Timer once a second (the
    /// program's one second ticker, so that it wakes once a second, not twice).
    void stopOwnTimer() { m_timer1.stop(); }
    /// One tick of `Timer1` (tests call it instead of waiting a second).
    void Timer1_Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Command1_Click();

    PlatformServices& m_services;
    QString m_appDir;
    clsLanguagePack& m_language;
    std::function<void()> m_applyToOthers;
    QListWidget* m_list;
    QCheckBox* m_check1;
    QTimer m_timer1;
};

} // namespace chimewell
