#include "AlarmBell.h"

#include "AlarmSound.h"
#include "NoticeBoard.h"
#include "lang/Texts.h"

#include <algorithm>
#include <chrono>

namespace chimewell {
namespace {

const QString kTitle = QStringLiteral("Chimewell");
const QString kStopKey = QStringLiteral("stop");
const QString kSnoozeKey = QStringLiteral("snooze");
const QString kCloseKey = QStringLiteral("close");
constexpr int kReasonShownLimit = 200;

} // namespace

AlarmBell::AlarmBell(AlarmSound& sound, NoticeBoard& notices, const TextSource& texts,
                     QObject* parent)
    : QObject(parent), m_sound(sound), m_notices(notices), m_texts(texts)
{
    connect(&m_notices, &NoticeBoard::actionInvoked, this, [this](int notice, const QString& key) {
        if (key == kCloseKey && m_urgent.removeAll(notice))
            m_notices.withdraw(notice);
        if (!m_alarms.contains(notice))
            return; // not an alarm's notice, or one that has gone
        if (key == kStopKey)
            stopNotice(notice);
        else if (key == kSnoozeKey)
            snoozeNotice(notice);
    });
    connect(&m_notices, &NoticeBoard::dismissed, this, [this](int notice) {
        m_urgent.removeAll(notice);
        if (m_alarms.contains(notice))
            stopNotice(notice);
    });
    connect(&m_sound, &AlarmSound::ended, this, [this] { setRinging({}); });
    connect(&m_sound, &AlarmSound::silent, this, [this] { retellRinging(true); });
    connect(&m_sound, &AlarmSound::heard, this, [this] { retellRinging(false); });
}

AlarmBell::~AlarmBell() = default;

QString AlarmBell::message(const Alarm& alarm) const
{
    const QString reason = alarm.reason.size() > kReasonShownLimit
                               ? alarm.reason.left(kReasonShownLimit - 1) + QChar(0x2026)
                               : alarm.reason;
    return m_texts.words(texts::alarm, {alarm.time, reason});
}

Notice AlarmBell::alarmNotice(const Alarm& alarm, bool silent) const
{
    QString text = message(alarm);
    if (silent)
        text += QLatin1Char(' ') + m_texts.words(texts::noSound);
    else if (!m_outputNote.isEmpty())
        text += QLatin1Char(' ') + m_outputNote;
    return {
        kTitle,
        text,
        true,
        {{kStopKey, m_texts.words(texts::stop)},
         {kSnoozeKey, m_texts.words(texts::snooze, {QString::number(alarm.snoozeFor.count())})}},
        {}};
}

void AlarmBell::ring(const QList<Alarm>& alarms)
{
    if (alarms.isEmpty())
        return;
    m_silent = false;
    // An alarm's ring time is its own: one that still rings is not cut short by the new ones.
    // One that rings once has had its sound, which the new one cuts off.
    auto longest = std::chrono::duration_cast<std::chrono::milliseconds>(m_sound.ringTimeLeft());
    QList<int> rung;
    for (const int notice : std::as_const(m_ringing))
        if (m_ringsUntil.contains(notice) && !m_ringsUntil.value(notice).hasExpired())
            rung << notice;
    for (const Alarm& alarm : alarms) {
        const int notice = m_notices.tell(alarmNotice(alarm, false));
        m_alarms.insert(notice, alarm);
        emit rang(alarm.id, alarm.reason);
        rung << notice;
        if (alarm.ringFor.count() > 0)
            m_ringsUntil.insert(notice, QDeadlineTimer(alarm.ringFor));
        longest = std::max(longest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::duration<double>(alarm.ringFor)));
    }
    m_last = rung;
    setRinging(rung);
    m_sound.ring(alarms.first().soundFile,
                 std::chrono::ceil<std::chrono::seconds>(std::chrono::milliseconds(longest)),
                 {alarms.first().volume, alarms.first().fadeSeconds});
}

QString AlarmBell::tellMissed(const QList<MissedAlarm>& missed, const QDate& today)
{
    QStringList lines;
    // The latest first: the notice starts with what matters now.
    for (qsizetype i = missed.size() - 1; i >= 0; --i) {
        const MissedAlarm& m = missed[i];
        // Today's by the time alone; one of an earlier day by its day too.
        const QString prefix =
            m.day == today
                ? m_texts.words(texts::missedPrefix)
                : m_texts.words(texts::missedOn,
                                {m_texts.locale().toString(m.day, QStringLiteral("dddd d MMM"))});
        lines << prefix + QLatin1Char(' ') + message(m.alarm);
    }
    if (lines.size() <= kMissedLines) {
        tellUrgent(lines.join(QLatin1Char('\n')));
        return lines.join(QLatin1Char('\n'));
    }
    const QString shown =
        lines.mid(0, kMissedLines).join(QLatin1Char('\n')) + QLatin1Char('\n') +
        m_texts.words(texts::andMore, {QString::number(lines.size() - kMissedLines)});
    tellUrgent(shown, lines.join(QLatin1Char('\n')));
    return shown;
}

void AlarmBell::tellUrgent(const QString& text, const QString& details)
{
    const Notice notice{kTitle, text, true, {{kCloseKey, m_texts.words(texts::close)}}, details};
    m_urgent << m_notices.tell(notice);
}

void AlarmBell::preview(const Alarm& alarm)
{
    m_notices.tell({kTitle, message(alarm), false, {}, {}});
}

bool AlarmBell::stop()
{
    const QList<int> notices = m_ringing.isEmpty() ? m_last : m_ringing;
    for (const int notice : notices)
        stopNotice(notice);
    return !notices.isEmpty();
}

bool AlarmBell::snooze()
{
    const QList<int> notices = m_ringing.isEmpty() ? m_last : m_ringing;
    for (const int notice : notices)
        snoozeNotice(notice);
    return !notices.isEmpty();
}

QList<int> AlarmBell::noticesOf(const QString& id) const
{
    QList<int> notices;
    for (auto it = m_alarms.cbegin(); it != m_alarms.cend(); ++it)
        if (it.value().id == id)
            notices << it.key();
    return notices;
}

bool AlarmBell::stop(const QString& id)
{
    const QList<int> notices = noticesOf(id);
    for (const int notice : notices)
        stopNotice(notice);
    return !notices.isEmpty();
}

bool AlarmBell::snooze(const QString& id)
{
    const QList<int> notices = noticesOf(id);
    for (const int notice : notices)
        snoozeNotice(notice);
    return !notices.isEmpty();
}

void AlarmBell::alarmOff()
{
    const QList<int> ringing = m_ringing;
    for (const int notice : m_alarms.keys())
        if (m_alarms.value(notice).kind == Alarm::Kind::OneShot || ringing.contains(notice))
            stopNotice(notice);
}

void AlarmBell::withdrawAll()
{
    m_sound.stop();
    for (const int notice : m_alarms.keys() + m_urgent)
        m_notices.withdraw(notice);
    for (const Alarm& alarm : std::as_const(m_alarms))
        emit stoppedRinging(alarm.id);
    m_alarms.clear();
    m_ringsUntil.clear();
    m_urgent.clear();
    setRinging({});
}

std::chrono::minutes AlarmBell::snoozeFor() const
{
    for (const int notice : m_ringing.isEmpty() ? m_last : m_ringing)
        if (m_alarms.contains(notice))
            return m_alarms.value(notice).snoozeFor;
    return std::chrono::minutes(0);
}

void AlarmBell::stopNotice(int notice)
{
    if (!m_alarms.contains(notice))
        return;
    QList<int> ringing = m_ringing;
    // The sound stops with the last of the alarms it rings for; rings on until the longest of
    // those left is over.
    if (ringing.removeAll(notice)) {
        if (ringing.isEmpty()) {
            m_sound.stop();
        } else {
            std::chrono::milliseconds left{0};
            for (const int other : std::as_const(ringing))
                if (m_ringsUntil.contains(other))
                    left = std::max(left, std::chrono::duration_cast<std::chrono::milliseconds>(
                                              m_ringsUntil.value(other).remainingTimeAsDuration()));
            if (left < m_sound.ringTimeLeft())
                m_sound.setRingTimeLeft(left);
        }
    }
    m_ringsUntil.remove(notice);
    setRinging(ringing);
    const QString id = m_alarms.take(notice).id;
    m_last.removeAll(notice);
    m_notices.withdraw(notice);
    emit stoppedRinging(id);
}

void AlarmBell::snoozeNotice(int notice)
{
    if (!m_alarms.contains(notice))
        return;
    const Alarm alarm = m_alarms.value(notice);
    stopNotice(notice);
    emit snoozed(alarm);
}

void AlarmBell::setRinging(const QList<int>& notices)
{
    const bool was = !m_ringing.isEmpty();
    m_ringing = notices;
    if (was != !notices.isEmpty())
        emit ringingChanged(!notices.isEmpty());
}

void AlarmBell::setOutputNote(const QString& note)
{
    if (note == m_outputNote)
        return;
    m_outputNote = note;
    for (const int notice : std::as_const(m_ringing))
        m_notices.retell(notice, alarmNotice(m_alarms.value(notice), m_silent));
}

void AlarmBell::retellRinging(bool silent)
{
    if (m_silent == silent)
        return;
    m_silent = silent;
    for (const int notice : std::as_const(m_ringing))
        m_notices.retell(notice, alarmNotice(m_alarms.value(notice), silent));
}

} // namespace chimewell
