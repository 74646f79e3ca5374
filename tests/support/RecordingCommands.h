#pragma once

// The alarms' commands as a window calls them: each verb is noted and then carried out by the
// real alarms, so a test sees both what was asked and what it did.

#include "alarm/AlarmCommands.h"

namespace fakes {

class RecordingCommands final : public chimewell::AlarmCommands
{
public:
    QStringList asked; // the verbs, in order

    explicit RecordingCommands(chimewell::AlarmCommands& real) : m_real(real)
    {
        connect(&real, &AlarmCommands::changed, this, &AlarmCommands::changed);
        connect(&real, &AlarmCommands::ringingChanged, this, &AlarmCommands::ringingChanged);
    }

    const chimewell::WeekAlarms& week() const override { return m_real.week(); }
    const QList<Coming>& coming() const override { return m_real.coming(); }
    std::optional<QDateTime> nextAlarm() const override { return m_real.nextAlarm(); }
    Status status() const override { return m_real.status(); }
    OutputWarning outputWarning() const override { return m_real.outputWarning(); }
    bool isArmed() const override { return m_real.isArmed(); }
    bool isRinging() const override { return m_real.isRinging(); }
    int snoozeMinutesNow() const override { return m_real.snoozeMinutesNow(); }
    int defaultRingMinutes() const override { return m_real.defaultRingMinutes(); }
    int defaultSnoozeMinutes() const override { return m_real.defaultSnoozeMinutes(); }
    QList<Timer> timers() const override { return m_real.timers(); }
    std::vector<chimewell::ListedAlarm> list() const override { return m_real.list(); }

    WeeklyResult saveWeekly(const WeeklyEdit& edit) override
    {
        asked << (edit.before ? "change" : "add");
        return m_real.saveWeekly(edit);
    }
    WeeklyResult switchWeekly(const chimewell::AlarmRow& row, bool on) override
    {
        asked << (on ? "switch on" : "switch off");
        return m_real.switchWeekly(row, on);
    }
    WeeklyResult deleteWeekly(const chimewell::AlarmRow& row) override
    {
        asked << "delete";
        return m_real.deleteWeekly(row);
    }
    bool putFirstDayAlarm(int weekday, const chimewell::DayAlarm& alarm,
                          std::string* error) override
    {
        asked << "put";
        return m_real.putFirstDayAlarm(weekday, alarm, error);
    }
    bool clearFirstDayAlarm(int weekday, std::string* error) override
    {
        asked << "clear";
        return m_real.clearFirstDayAlarm(weekday, error);
    }
    void arm(const chimewell::OneShotAlarm& alarm) override { m_real.arm(alarm); }
    void disarm() override { m_real.disarm(); }
    void setOneShotTargets(const QStringList& targets) override
    {
        m_real.setOneShotTargets(targets);
    }
    std::optional<Timer> startTimer(qint64 seconds, const QString& reason,
                                    QString* refusal) override
    {
        asked << "timer";
        return m_real.startTimer(seconds, reason, refusal);
    }
    bool cancelTimer(const QString& id) override { return m_real.cancelTimer(id); }
    bool stop(const QString& id) override { return m_real.stop(id); }
    bool snooze(const QString& id) override { return m_real.snooze(id); }
    void stopAllSound() override { m_real.stopAllSound(); }
    void tryOutSound(const QString& file, int volume, std::optional<int> fadeSeconds) override
    {
        asked << "try " + file;
        m_real.tryOutSound(file, volume, fadeSeconds);
    }
    void preview(const chimewell::Alarm& alarm) override { m_real.preview(alarm); }
    bool setDefaultRingMinutes(int minutes, std::string* error) override
    {
        return m_real.setDefaultRingMinutes(minutes, error);
    }
    bool setDefaultSnoozeMinutes(int minutes, std::string* error) override
    {
        return m_real.setDefaultSnoozeMinutes(minutes, error);
    }

private:
    chimewell::AlarmCommands& m_real;
};

} // namespace fakes
