#include "AlarmListModel.h"

#include "lang/Texts.h"
#include "storage/Settings.h"
#include "widgets/QtText.h"

#include <QtCore/QFileInfo>
#include <QtGui/QPalette>
#include <algorithm>

namespace chimewell {

AlarmListModel::AlarmListModel(const TextSource& texts, QObject* parent)
    : QAbstractTableModel(parent), m_texts(texts)
{}

bool AlarmListModel::setWeek(const WeekAlarms& week, int ringMinutes, int snoozeMinutes)
{
    // Day files read again unchanged come back as the same lists.
    if (week == m_week && ringMinutes == m_ringMinutes && snoozeMinutes == m_snoozeMinutes &&
        std::all_of(week.begin(), week.end(), [](const auto& day) { return day != nullptr; }))
        return false;
    m_week = week;
    std::vector<AlarmRow> rows = alarmRows(week);
    m_ringMinutes = ringMinutes;
    m_snoozeMinutes = snoozeMinutes;
    if (rows.size() == m_rows.size()) {
        m_rows = std::move(rows);
        if (!m_rows.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return true;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    return true;
}

void AlarmListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

QString AlarmListModel::daysText(unsigned mask) const
{
    if ((mask & 0x7F) == 0x7F)
        return m_texts.words(texts::everyDay);
    const QLocale locale = m_texts.locale();
    // Qt counts Monday as 1 and Sunday as 7; the day files count Sunday as 0.
    const auto dayName = [&locale](int weekday) {
        return locale.dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat);
    };
    QStringList parts;
    for (const auto& [first, last] : dayRuns(mask, locale.firstDayOfWeek() % 7)) {
        const int length = (last - first + 7) % 7 + 1;
        if (length >= 3)
            parts << dayName(first) + QChar(0x2013) + dayName(last);
        else
            for (int i = 0; i < length; ++i)
                parts << dayName((first + i) % 7);
    }
    return parts.join(QStringLiteral(", "));
}

QString AlarmListModel::minutesText(int minutes) const
{
    return minutes == 0 ? m_texts.words(texts::ringOnce)
                        : m_texts.words(texts::minutesShort, {QString::number(minutes)});
}

QString AlarmListModel::ringText(const std::string& value) const
{
    if (const auto own = alarmRingMinutes(value))
        return minutesText(*own);
    return m_texts.words(texts::asInOptions, {minutesText(m_ringMinutes)});
}

QString AlarmListModel::snoozeText(const std::string& value) const
{
    if (const auto own = alarmSnoozeMinutes(value))
        return minutesText(*own);
    return m_texts.words(texts::asInOptions, {minutesText(m_snoozeMinutes)});
}

int AlarmListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int AlarmListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlarmListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const AlarmRow& row = alarmRow(index.row());
    const DayAlarm& alarm = row.alarm;
    if (role == Qt::CheckStateRole && index.column() == On)
        return alarm.off ? Qt::Unchecked : Qt::Checked;
    if (role == Qt::ToolTipRole && index.column() == Sound && !alarm.music.empty())
        return toQ(alarm.music);
    // A switched-off row is drawn as one that does nothing.
    if (role == Qt::ForegroundRole && alarm.off)
        return QPalette().brush(QPalette::Disabled, QPalette::Text);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case On:
        return role == Qt::AccessibleTextRole ? headerData(On, Qt::Horizontal) : QVariant();
    case Days:
        return daysText(row.dayMask());
    case Time:
        // A time that cannot be read is shown as it stands, and said to be none.
        return alarm.minuteOfDay() ? toQ(alarm.time)
                                   : m_texts.words(texts::notATime, {toQ(alarm.time)});
    case Reason:
        return toQ(alarm.reason);
    case Sound:
        return alarm.music.empty() ? m_texts.words(texts::defaultSound)
                                   : QFileInfo(toQ(alarm.music)).fileName();
    case Rings:
        return ringText(alarm.ringMinutes);
    case Snooze:
        return snoozeText(alarm.snoozeMinutes);
    default:
        return {};
    }
}

QVariant AlarmListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static constexpr const Text* columns[] = {
        &texts::columnOn,    &texts::columnDays,  &texts::columnTime,  &texts::columnReason,
        &texts::columnSound, &texts::columnRings, &texts::columnSnooze};
    if (section < 0 || section >= ColumnCount)
        return {};
    return m_texts.words(*columns[section]);
}

Qt::ItemFlags AlarmListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == On)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool AlarmListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != On || role != Qt::CheckStateRole)
        return false;
    emit switchRequested(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

} // namespace chimewell
