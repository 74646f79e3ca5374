#pragma once

#include <QtWidgets/QGroupBox>
#include <optional>

class QLineEdit;
class QPushButton;

namespace chimewell {

class FilePicker;
class MessageBox;

// Language packs address the frame and its controls by these names: keep them as they are.
inline constexpr struct AlarmFieldNames
{
    const char *frame = "Frame1", *reasonLabel = "Label2", *reasonEdit = "Text1",
               *timeLabel = "Label3", *timeEdit = "Text2", *musicLabel = "Label4",
               *musicEdit = "Text4", *browseHolder = "Picture1", *browse = "Command1";
} alarmFieldNames{};

/// The frame "Alarm" of the main window and the Schedule dialog: the reason, the time of day
/// and the sound, with the button that picks the sound.
class AlarmFields : public QGroupBox
{
    Q_OBJECT
public:
    /// What the fields hold once they make an alarm.
    struct Values
    {
        QString reason;
        int minuteOfDay = 0;
        QString music;
    };

    /// At `top` in its window, `height` high (in twips); the controls inside stand where both
    /// windows have them.
    AlarmFields(FilePicker& picker, int top, int height, QWidget* parent);

    QLineEdit* reasonEdit() const { return m_reason; }
    QLineEdit* timeEdit() const { return m_time; }
    QLineEdit* musicEdit() const { return m_music; }
    QPushButton* browseButton() const { return m_browse; }

    /// The fields as an alarm, the time written as hh:mm; nothing, after telling the user, when
    /// a field is empty or the time is not a time of day.
    std::optional<Values> validated(MessageBox& messages) const;
    /// Read-only fields and no browsing, while the alarm they hold is armed.
    void setLocked(bool locked);

private:
    QLineEdit* m_reason;
    QLineEdit* m_time;
    QLineEdit* m_music;
    QPushButton* m_browse;
};

} // namespace chimewell
