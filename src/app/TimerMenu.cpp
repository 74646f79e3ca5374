#include "TimerMenu.h"

#include "alarm/AlarmCommands.h"
#include "lang/Texts.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "storage/Timers.h"
#include "widgets/QtText.h"

#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>

namespace chimewell {

QString timeLeftText(qint64 seconds)
{
    seconds = std::max<qint64>(seconds, 0);
    const QString mmss = QStringLiteral("%1:%2")
                             .arg(seconds / 60 % 60, seconds >= 3600 ? 2 : 1, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return seconds >= 3600 ? QString::number(seconds / 3600) + QLatin1Char(':') + mmss : mmss;
}

TimerMenu::TimerMenu(AlarmCommands& alarms, MessageBox& messages, const Clock& clock,
                     QWidget* parent)
    : QMenu(parent), m_alarms(alarms), m_messages(messages), m_clock(clock)
{
    retitle();
    refill();
    connect(this, &QMenu::aboutToShow, this, &TimerMenu::refill);
}

void TimerMenu::retitle()
{
    setTitle(translated(texts::timerMenu));
}

void TimerMenu::refill()
{
    clear();
    for (const int minutes : {5, 10, 15, 30, 60})
        connect(addAction(translated(texts::timerMinutes, {QString::number(minutes)})),
                &QAction::triggered, this,
                [this, minutes] { m_alarms.startTimer(minutes * 60, {}); });
    connect(addAction(translated(texts::timerOther)), &QAction::triggered, this,
            &TimerMenu::askForTimer);
    const QList<AlarmCommands::Timer> timers = m_alarms.timers();
    if (timers.isEmpty())
        return;
    addSeparator();
    const qint64 now = m_clock.now().toSecsSinceEpoch();
    for (const AlarmCommands::Timer& timer : timers.mid(0, kListed)) {
        const QString id = timer.id;
        // An ampersand of the name is shown, not taken for a shortcut.
        QString name = timer.reason;
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        connect(addAction(translated(texts::timerCancel,
                                     {name, timeLeftText(timer.due.toSecsSinceEpoch() - now)})),
                &QAction::triggered, this, [this, id] { m_alarms.cancelTimer(id); });
    }
    if (timers.size() > kListed)
        addAction(translated(texts::timerMore, {QString::number(timers.size() - kListed)}))
            ->setEnabled(false);
}

void TimerMenu::askForTimer()
{
    QDialog dialog(parentWidget());
    dialog.setObjectName(QStringLiteral("frmTimer"));
    dialog.setWindowTitle(translated(texts::timerName).remove(QLatin1Char('&')));
    auto* form = new QFormLayout(&dialog);
    auto* length = new QLineEdit(QStringLiteral("20m"), &dialog);
    length->setObjectName(QStringLiteral("txtLength"));
    auto* reason = new QLineEdit(&dialog);
    reason->setObjectName(QStringLiteral("txtName"));
    reason->setMaxLength(int(kLongestTimerReason));
    auto* lengthLabel = new QLabel(translated(texts::timerLength), &dialog);
    lengthLabel->setBuddy(length);
    auto* reasonLabel = new QLabel(translated(texts::timerReason), &dialog);
    reasonLabel->setBuddy(reason);
    form->addRow(lengthLabel, length);
    form->addRow(reasonLabel, reason);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const auto seconds = parseTimerLength(toStd(length->text()));
        if (!seconds) {
            m_messages.show(translated(texts::timerBadLength), MessageIcon::Exclamation);
            length->setFocus();
            return; // the dialog stays, with what the user typed
        }
        QString refusal;
        if (!m_alarms.startTimer(*seconds, reason->text(), &refusal))
            m_messages.show(translated(texts::timerRefused, {refusal}), MessageIcon::Exclamation);
        dialog.accept();
    });
    length->selectAll();
    dialog.exec();
}

} // namespace chimewell
