#pragma once

#include "storage/DaySchedule.h"

#include <QtCore/QAbstractTableModel>
#include <vector>

namespace chimewell {

class TextSource;

/// The week's alarms as a table: one row per alarm, alarms alike on several days merged into a
/// row that names its days, by time. The first column's check box switches a row's alarms on
/// or off; the model only asks for that (switchRequested), since the day files are the truth
/// and it shows them as they are once written.
class AlarmListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        On,
        Days,
        Time,
        Reason,
        Sound,
        Rings,
        Snooze,
        ColumnCount
    };

    explicit AlarmListModel(const TextSource& texts, QObject* parent = nullptr);

    /// Shows the alarms of `week` (Sunday's first), which take the settings' ring time and
    /// snooze length where they have none of their own.
    /// False when it shows that week with those settings already.
    bool setWeek(const WeekAlarms& week, int ringMinutes, int snoozeMinutes);
    const AlarmRow& alarmRow(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    /// Words everything again, in the pack's language.
    void retranslate();

    /// "Mon–Fri", "Sat, Sun", "Every day": the days of `mask` (bit w for weekday w, 0 for
    /// Sunday), in the order of the pack's week, a run of days never split by its first day.
    QString daysText(unsigned mask) const;
    /// How long an alarm rings or snoozes, as the table words it.
    QString ringText(const std::string& value) const;
    QString snoozeText(const std::string& value) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    /// The user switched the alarms of `row` on or off.
    void switchRequested(int row, bool on);

private:
    QString minutesText(int minutes) const;

    const TextSource& m_texts;
    WeekAlarms m_week; // what the rows were made from
    std::vector<AlarmRow> m_rows;
    int m_ringMinutes = 0;
    int m_snoozeMinutes = 5;
};

} // namespace chimewell
