#pragma once

#include "AlarmEditor.h"
#include "alarm/AlarmCommands.h"
#include "storage/DaySchedule.h"

#include <QtCore/QPointer>
#include <QtWidgets/QDialog>

class QTableView;

namespace chimewell {

class AlarmListModel;
class LanguagePack;
struct PlatformServices;

// Language packs address the window and its controls by these names: keep them as they are.
inline constexpr struct AlarmsWindowNames
{
    const char *window = "frmAlarms", *listLabel = "Label1", *list = "lvAlarms", *add = "cmdAdd",
               *edit = "cmdEdit", *remove = "cmdDelete", *close = "cmdClose";
} alarmsWindowNames{};

/// `frmAlarms`, "Alarms": every weekly alarm in one list, to add, change, switch off and delete.
/// It shows the day files as the alarms read them and follows their changes; it changes them
/// through the alarms.
class AlarmsWindow : public QDialog
{
    Q_OBJECT
public:
    AlarmsWindow(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                 LanguagePack& language, QWidget* parent = nullptr);
    ~AlarmsWindow() override;

    AlarmListModel* model() const { return m_model; }
    QTableView* table() const { return m_table; }
    /// The editor while it is open.
    AlarmEditor* editor() const { return m_editor; }
    /// Puts the pack's texts on the window (and the open editor) again.
    void retranslate();

    void addAlarm();
    void editAlarm();
    void deleteAlarm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void reload();
    void updateButtons();
    void fitColumns();
    void openEditor(const AlarmEditor::Values& values, int row);
    void save();
    void switchAlarm(int row, bool on);
    /// Tells the user of a change refused because a day file was changed meanwhile; false
    /// then.
    bool tellIfChanged(const AlarmCommands::WeeklyResult& result);
    /// Tells the user of a change refused or cut short.
    void reportFailure(const AlarmCommands::WeeklyResult& result);
    int currentRow() const;

    PlatformServices& m_services;
    QString m_appDir;
    AlarmCommands& m_alarms;
    LanguagePack& m_language;
    AlarmListModel* m_model;
    QTableView* m_table;
    QPointer<AlarmEditor> m_editor;
    /// The alarms the editor changes, as they were when it opened; nothing for a new alarm.
    /// (The list may be read again meanwhile: a row number could then name another alarm.)
    std::optional<AlarmRow> m_edited;
    /// The alarm the next reload selects: one just saved.
    std::optional<DayAlarm> m_select;
};

} // namespace chimewell
