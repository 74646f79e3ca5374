#pragma once

#include <QtWidgets/QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QListWidget;

namespace chimewell {

class AlarmCommands;
class LanguagePack;
class NamedComboBox;
struct PlatformServices;

// Language packs address the window and its controls by these names: keep them as they are.
inline constexpr struct OptionsDialogNames
{
    const char *window = "frmLanguage", *languageBox = "Frame1", *packList = "lstLangPacks",
               *buttonHolder = "Picture1", *change = "Command1", *exit = "Command4",
               *startupBox = "Frame2", *startupCheck = "Check1", *ringBox = "Frame3",
               *ringOnce = "Option1", *ringOneMinute = "Option2", *ringFiveMinutes = "Option3",
               *ringFifteenMinutes = "Option4", *snoozeBox = "Frame4", *snoozeFive = "Option5",
               *snoozeTen = "Option6", *snoozeFifteen = "Option7", *soundBox = "Frame5",
               *whenMutedLabel = "Label1", *whenMuted = "Combo1", *fadeLabel = "Label2",
               *fade = "Combo2", *pauseMusic = "Check2";
} optionsDialogNames{};

/// `frmLanguage`, "Options": the language of every window, whether the program starts hidden
/// when the user logs on, how long an alarm rings and how long a snooze lasts, what is done
/// about a muted sound output, the fade-in, and whether music pauses while an alarm rings. Every
/// choice is saved as it is made; a choice that cannot be saved is told, and undone.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    /// `applyToOthers` puts the loaded pack on the main window and the two schedule dialogs,
    /// in that order, loading the dialogs hidden when they are closed.
    OptionsDialog(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                  LanguagePack& language, std::function<void()> applyToOthers,
                  QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadSettings();
    void applyChosenLanguage();
    void saveStartup(bool enabled);
    void saveRingMinutes(int minutes);
    void saveSnoozeMinutes(int minutes);
    /// The choices of the sound box, in the pack's words, with the settings chosen.
    void fillSoundChoices();
    bool saveSetting(std::string_view key, const std::string& value);
    /// Tells the user that the settings file could not be written.
    void tellNotSaved(const std::string& error);

    PlatformServices& m_services;
    QString m_appDir;
    AlarmCommands& m_alarms;
    LanguagePack& m_language;
    std::function<void()> m_applyToOthers;
    QListWidget* m_list;
    QCheckBox* m_startupCheck;
    QButtonGroup* m_ringChoice;
    QButtonGroup* m_snoozeChoice;
    NamedComboBox* m_whenMuted;
    NamedComboBox* m_fade;
    QCheckBox* m_pauseMusic;
};

} // namespace chimewell
