#include "AlarmsWindow.h"

#include "AlarmListModel.h"
#include "alarm/AlarmCommands.h"
#include "lang/LanguagePack.h"
#include "lang/Texts.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "storage/DaySchedule.h"
#include "storage/Settings.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableView>
#include <QtWidgets/QVBoxLayout>

namespace chimewell {

using form::named;

AlarmsWindow::AlarmsWindow(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                           LanguagePack& language, QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir), m_alarms(alarms),
      m_language(language), m_model(new AlarmListModel(language, this))
{
    const AlarmsWindowNames& name = alarmsWindowNames;
    setObjectName(QLatin1String(name.window));
    setWindowTitle(QStringLiteral("Alarms"));
    form::setFixedBorder(this);
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    m_table = named(new QTableView(this), name.list);
    auto* label = named(new QLabel(QStringLiteral("&Weekly alarms"), this), name.listLabel);
    label->setBuddy(m_table);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(false);
    // Fitted to their texts on every change (fitColumns), and then the user's to widen.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Measured over the rows in view and 250 more: a list of 20,000 is not laid out in full.
    m_table->horizontalHeader()->setResizeContentsPrecision(250);
    m_table->setMinimumSize(640, 240);
    m_table->installEventFilter(this);
    form::nameByToolTip(m_table, QStringLiteral("Every weekly alarm"));
    layout->addWidget(label);
    layout->addWidget(m_table, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* buttonName, const QString& text, auto slot) {
        auto* b = named(new QPushButton(text, this), buttonName);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(name.add, QStringLiteral("&Add..."), &AlarmsWindow::addAlarm);
    button(name.edit, QStringLiteral("&Edit..."), &AlarmsWindow::editAlarm);
    button(name.remove, QStringLiteral("&Delete"), &AlarmsWindow::deleteAlarm);
    buttons->addStretch();
    button(name.close, QStringLiteral("Close"), &QWidget::close);
    layout->addLayout(buttons);

    connect(m_table, &QTableView::doubleClicked, this, &AlarmsWindow::editAlarm);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AlarmsWindow::updateButtons);
    connect(m_model, &AlarmListModel::switchRequested, this, &AlarmsWindow::switchAlarm);
    // The list follows the day files through the alarms' one signal of change.
    connect(&m_alarms, &AlarmCommands::changed, this, &AlarmsWindow::reload);
    m_language.apply(this);
    reload();
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    m_table->setFocus();
}

AlarmsWindow::~AlarmsWindow()
{
    delete m_editor;
}

void AlarmsWindow::retranslate()
{
    m_language.apply(this);
    if (m_editor)
        m_language.apply(m_editor);
    m_model->retranslate();
    fitColumns();
}

void AlarmsWindow::reload()
{
    // The row in hand stays in hand, found again by its time and reason.
    const int current = currentRow();
    const std::optional<DayAlarm> kept =
        current >= 0 ? std::optional<DayAlarm>(m_model->alarmRow(current).alarm) : std::nullopt;
    // The scheduler tells of every change to what comes next, most of which leave the list
    // as it is.
    if (!m_model->setWeek(m_alarms.week(), m_alarms.defaultRingMinutes(),
                          m_alarms.defaultSnoozeMinutes()) &&
        !m_select)
        return;
    int select = m_model->rowCount() > 0 ? std::clamp(current, 0, m_model->rowCount() - 1) : -1;
    // An alarm just saved is the row in hand; else the one that was.
    const std::optional<DayAlarm> wanted = m_select ? m_select : kept;
    m_select.reset();
    for (int row = 0; wanted && row < m_model->rowCount(); ++row)
        if (m_model->alarmRow(row).alarm.time == wanted->time &&
            m_model->alarmRow(row).alarm.reason == wanted->reason)
            select = row;
    if (select >= 0)
        m_table->selectRow(select);
    updateButtons();
    fitColumns();
}

void AlarmsWindow::updateButtons()
{
    const bool selected = currentRow() >= 0;
    for (const char* name : {alarmsWindowNames.edit, alarmsWindowNames.remove})
        findChild<QPushButton*>(QLatin1String(name))->setEnabled(selected);
}

void AlarmsWindow::fitColumns()
{
    // Every column as wide as its widest text, and the window as wide as the columns, within
    // the screen: no text is cut, and no scroll bar hides the last column.
    ensurePolished(); // the style's fonts and margins first: they decide the widths
    QHeaderView* header = m_table->horizontalHeader();
    header->resizeSections(QHeaderView::ResizeToContents);
    int width = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < m_model->columnCount(); ++column)
        width += header->sectionSize(column);
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    if (!screen.isEmpty())
        width = std::min(width, screen.width() - 64);
    m_table->setMinimumWidth(std::max(640, width));
    adjustSize();
}

int AlarmsWindow::currentRow() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void AlarmsWindow::addAlarm()
{
    // A new alarm starts as the working days of the week at 07:00.
    AlarmEditor::Values values;
    values.days = 0b0111110;
    values.time = QStringLiteral("07:00");
    openEditor(values, -1);
}

void AlarmsWindow::editAlarm()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const AlarmRow& alarm = m_model->alarmRow(row);
    openEditor({alarm.dayMask(), toQ(alarm.alarm.reason), toQ(alarm.alarm.time),
                toQ(alarm.alarm.music), toQ(alarm.alarm.ringMinutes),
                toQ(alarm.alarm.snoozeMinutes), toQ(alarm.alarm.volume),
                toQ(alarm.alarm.fadeSeconds)},
               row);
}

void AlarmsWindow::openEditor(const AlarmEditor::Values& values, int row)
{
    if (m_editor) {
        form::bringForward(m_editor);
        return;
    }
    m_edited = row >= 0 ? std::optional<AlarmRow>(m_model->alarmRow(row)) : std::nullopt;
    m_editor = new AlarmEditor(values, *m_services.picker, m_alarms,
                               toQ(appFile(toStd(m_appDir), kDefaultSoundName)), m_language, this);
    m_editor->setAttribute(Qt::WA_DeleteOnClose);
    m_editor->setWindowModality(Qt::WindowModal);
    m_language.apply(m_editor);
    connect(m_editor, &AlarmEditor::okPressed, this, &AlarmsWindow::save);
    form::bringForward(m_editor);
}

void AlarmsWindow::save()
{
    AlarmEditor* editor = m_editor;
    if (!editor)
        return;
    const AlarmEditor::Values shown = editor->values();
    const auto checked = editor->validated(*m_services.messages);
    if (!checked)
        return; // nothing saved: the user mends what was wrong
    // Only what the user changed is written where the alarm was; a new day gets all of it.
    const AlarmEditor::Values& before = editor->initial();
    AlarmCommands::WeeklyEdit edit;
    edit.before = m_edited;
    edit.days = checked->days;
    AlarmChange& change = edit.change;
    if (shown.reason != before.reason)
        change.reason = toStd(checked->reason);
    if (shown.time != before.time)
        change.time = toStd(checked->time);
    if (shown.sound != before.sound)
        change.music = toStd(checked->sound);
    if (shown.ringMinutes != before.ringMinutes)
        change.ringMinutes = toStd(checked->ringMinutes);
    if (shown.snoozeMinutes != before.snoozeMinutes)
        change.snoozeMinutes = toStd(checked->snoozeMinutes);
    if (shown.volume != before.volume)
        change.volume = toStd(checked->volume);
    if (shown.fadeSeconds != before.fadeSeconds)
        change.fadeSeconds = toStd(checked->fadeSeconds);
    edit.values.reason = toStd(checked->reason);
    edit.values.time = toStd(checked->time);
    edit.values.music = toStd(checked->sound);
    edit.values.ringMinutes = toStd(checked->ringMinutes);
    edit.values.snoozeMinutes = toStd(checked->snoozeMinutes);
    edit.values.volume = toStd(checked->volume);
    edit.values.fadeSeconds = toStd(checked->fadeSeconds);
    const DayAlarm added = m_edited ? changedAlarm(m_edited->alarm, change) : edit.values;

    const AlarmCommands::WeeklyResult result = m_alarms.saveWeekly(edit);
    if (result.outcome == AlarmCommands::WeeklyResult::NothingSaved) {
        m_services.messages->show(translated(texts::nothingSaved, {result.refused.join('\n')}),
                                  MessageIcon::Stop);
        return; // the editor stays, with what the user typed
    }
    if (!tellIfChanged(result)) {
        editor->close();
        return;
    }
    // A write that failed after its check (a full disk): what was written is told, and the
    // editor shows the alarm as the days now hold it.
    if (result.outcome == AlarmCommands::WeeklyResult::PartlySaved)
        m_services.messages->show(
            translated(texts::partlySaved, {m_model->daysText(result.written & checked->days),
                                            toQ(dayName(result.failedDay)), result.error}),
            MessageIcon::Stop);
    m_select = added;
    reload();
    const unsigned had = m_edited ? m_edited->dayMask() : 0;
    const unsigned now = (had & ~result.written) | (result.written & checked->days);
    editor->close();
    if (now != checked->days)
        for (int r = 0; r < m_model->rowCount(); ++r)
            if (m_model->alarmRow(r).alarm.sameAs(added)) {
                m_table->selectRow(r);
                editAlarm();
                break;
            }
}

void AlarmsWindow::deleteAlarm()
{
    const int current = currentRow();
    if (current < 0)
        return;
    const AlarmRow row = m_model->alarmRow(current);
    if (!m_services.messages->ask(
            translated(texts::deleteQuestion, {toQ(row.alarm.reason), toQ(row.alarm.time),
                                               m_model->daysText(row.dayMask())})))
        return;
    reportFailure(m_alarms.deleteWeekly(row));
}

void AlarmsWindow::switchAlarm(int current, bool on)
{
    if (current < 0 || current >= m_model->rowCount())
        return;
    reportFailure(m_alarms.switchWeekly(m_model->alarmRow(current), on));
}

bool AlarmsWindow::tellIfChanged(const AlarmCommands::WeeklyResult& result)
{
    if (result.outcome != AlarmCommands::WeeklyResult::ChangedMeanwhile)
        return true;
    m_services.messages->show(translated(texts::changedMeanwhile, {result.file}),
                              MessageIcon::Exclamation);
    return false;
}

void AlarmsWindow::reportFailure(const AlarmCommands::WeeklyResult& result)
{
    if (!tellIfChanged(result))
        return;
    QString error = result.error;
    int weekday = result.failedDay;
    if (result.outcome == AlarmCommands::WeeklyResult::NothingSaved) {
        // "Monday: why" of the first day that refused.
        const QString first = result.refused.value(0);
        for (int day = 0; day < 7; ++day)
            if (first.startsWith(toQ(dayName(day)) + QStringLiteral(": ")))
                weekday = day;
        error = first.section(QStringLiteral(": "), 1);
    }
    if (weekday < 0)
        return;
    const QString day = toQ(dayName(weekday));
    const QString file = toQ(dayFilePath(toStd(m_appDir), dayName(weekday)));
    m_services.messages->show(translated(texts::dayNotSaved, {day, file, error}),
                              MessageIcon::Stop);
}

bool AlarmsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = currentRow();
        // Space switches the row in hand on or off, whichever column has the focus.
        if (key->key() == Qt::Key_Space && row >= 0) {
            switchAlarm(row, m_model->alarmRow(row).alarm.off);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && row >= 0) {
            editAlarm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AlarmsWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the window as its close box does.
    if (!form::closeOnEscape(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace chimewell
