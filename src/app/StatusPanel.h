#pragma once

#include "alarm/AlarmCommands.h"

#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>

class QLabel;

namespace chimewell {

/// Panel 1 of the main window's status bar: a text, and a 16 x 16 bell that shows whether an
/// alarm is still to come.
class StatusPanel : public QWidget
{
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    void set(const QString& text, bool alarmPending);
    /// The words for what is still to come, in the pack's language.
    /// A warning about the sound output takes the place of the words, where there is one.
    void showStatus(const AlarmCommands::Status& status,
                    const AlarmCommands::OutputWarning& warning = {});
    QString text() const;
    /// "Monday 07:00", or "Monday 14 Dec 07:00" for an alarm further off than a day from
    /// `now`, in the pack's language.
    static QString whenWords(const QDateTime& at, const QDateTime& now);

private:
    QLabel* m_picture;
    QLabel* m_text;
    QPixmap m_pendingBell;
    QPixmap m_idleBell;
};

} // namespace chimewell
