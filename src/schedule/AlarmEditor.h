#pragma once

#include <QtWidgets/QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace chimewell {

class AlarmCommands;
class FilePicker;
class MessageBox;
class NamedComboBox;
class TextSource;

// Language packs address the window and its controls by these names: keep them as they are.
// The day boxes are one control array, `chkDay`, by weekday (0 for Sunday).
inline constexpr struct AlarmEditorNames
{
    const char *window = "frmAlarmEdit", *daysBox = "Frame1", *day = "chkDay",
               *reasonLabel = "Label1", *reason = "Text1", *timeLabel = "Label2", *time = "Text2",
               *soundLabel = "Label3", *sound = "Text3", *browse = "Command1", *play = "cmdPlay",
               *stop = "cmdStop", *ringLabel = "Label4", *ring = "Combo1", *snoozeLabel = "Label5",
               *snooze = "Combo2", *volumeLabel = "Label6", *volume = "Text4",
               *fadeLabel = "Label7", *fade = "Combo3", *ok = "cmdOK", *cancel = "cmdCancel";
} alarmEditorNames{};

/// `frmAlarmEdit`: one alarm of the list, new or as it is, with its days. OK hands the values
/// to whoever opened it (okPressed()); Cancel and the close box write nothing.
class AlarmEditor : public QDialog
{
    Q_OBJECT
public:
    /// What the editor holds: the days (bit w for weekday w), and the values as the day files
    /// spell them ("" for the settings' ring time or snooze length).
    struct Values
    {
        unsigned days = 0;
        QString reason;
        QString time;
        QString sound;
        QString ringMinutes;
        QString snoozeMinutes;
        QString volume;      // as the file holds it: what the editor shows stands for it
        QString fadeSeconds; // the same
        bool operator==(const Values&) const = default;
    };

    AlarmEditor(const Values& values, FilePicker& picker, AlarmCommands& alarms,
                const QString& chime, const TextSource& texts, QWidget* parent = nullptr);
    ~AlarmEditor() override;

    /// The values as the editor showed them when it opened.
    Values initial() const { return m_initial; }
    Values values() const;
    /// The values with the time written as hh:mm; nothing, after telling the user what is
    /// wrong (no day, an empty field, a time that is not hh:mm), when they make no alarm.
    std::optional<Values> validated(MessageBox& messages) const;

signals:
    /// OK was pressed: the editor stays until what it holds is saved.
    void okPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillFadeChoices(const QString& current);
    void fillChoices(NamedComboBox* box, const QList<int>& minutes, const QString& current);

    Values m_initial;
    AlarmCommands& m_alarms;
    QString m_chime;
    const TextSource& m_texts;
    std::array<QCheckBox*, 7> m_days{};
    QLineEdit* m_reason;
    QLineEdit* m_time;
    QLineEdit* m_soundFile;
    NamedComboBox* m_ring;
    NamedComboBox* m_snooze;
    QSpinBox* m_volume;
    NamedComboBox* m_fade;
    QString m_volumeAsRead; // the file's value, kept while the editor shows what it means
};

} // namespace chimewell
