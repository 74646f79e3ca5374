#include "StatusPanel.h"

#include "alarm/OutputWatch.h"
#include "lang/Texts.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>

namespace chimewell {
namespace {

// A bell of 16 x 16: on a scaled screen the picture of twice the size, which stays sharp when
// drawn smaller (QIcon would take the 16 px one at a scale of 1.5).
QPixmap bell(const QString& name)
{
    if (qApp->devicePixelRatio() <= 1.0)
        return QPixmap(QStringLiteral(":/images/") + name + QStringLiteral(".png"));
    QPixmap large(QStringLiteral(":/images/") + name + QStringLiteral("@2x.png"));
    large.setDevicePixelRatio(2.0);
    return large;
}

} // namespace

StatusPanel::StatusPanel(QWidget* parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_text(new QLabel(this)),
      m_pendingBell(bell(QStringLiteral("bell-active"))),
      m_idleBell(bell(QStringLiteral("bell-idle")))
{
    setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    m_picture->setFixedSize(16, 16);
    m_text->setTextFormat(Qt::PlainText);
    layout->addWidget(m_picture);
    layout->addWidget(m_text, 1);
}

void StatusPanel::set(const QString& text, bool alarmPending)
{
    m_text->setText(text);
    m_picture->setPixmap(alarmPending ? m_pendingBell : m_idleBell);
}

void StatusPanel::showStatus(const AlarmCommands::Status& status,
                             const AlarmCommands::OutputWarning& warning)
{
    if (warning.kind != AlarmCommands::OutputWarning::None) {
        set(OutputWatch::words(warning, &translated), true);
        return;
    }
    switch (status.kind) {
    case AlarmCommands::Status::WeeklyToday:
        set(translated(texts::scheduledActive, {status.time}), true);
        break;
    case AlarmCommands::Status::OneShot:
        set(translated(texts::alarmActive), true);
        break;
    case AlarmCommands::Status::Snoozed:
        set(translated(texts::snoozedActive, {status.time}), true);
        break;
    case AlarmCommands::Status::Timer:
        set(translated(texts::timerActive, {status.time}), true);
        break;
    case AlarmCommands::Status::Later:
        // Nothing more today: what comes next, on its day.
        set(translated(texts::nextPrefix) + QLatin1Char(' ') +
                whenWords(status.at, status.at.addDays(-1)),
            false);
        break;
    case AlarmCommands::Status::None:
        set(translated(texts::noAlarm), false);
        break;
    }
}

QString StatusPanel::whenWords(const QDateTime& at, const QDateTime& now)
{
    // A weekday alone reads as the coming one: further off, the date too.
    const bool withinADay = now.secsTo(at) <= 86400;
    return translatedLocale().toString(at.date(), withinADay ? QStringLiteral("dddd")
                                                             : QStringLiteral("dddd d MMM")) +
           QLatin1Char(' ') + at.time().toString(QStringLiteral("hh:mm"));
}

QString StatusPanel::text() const
{
    return m_text->text();
}

} // namespace chimewell
