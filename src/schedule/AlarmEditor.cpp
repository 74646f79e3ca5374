#include "AlarmEditor.h"

#include "alarm/AlarmCommands.h"
#include "lang/Texts.h"
#include "platform/FilePicker.h"
#include "platform/MessageBox.h"
#include "storage/AlarmTime.h"
#include "storage/Loudness.h"
#include "storage/Settings.h"
#include "widgets/BrowseButton.h"
#include "widgets/FormLayout.h"
#include "widgets/NamedComboBox.h"
#include "widgets/QtText.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QVBoxLayout>

namespace chimewell {

using form::named;

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

AlarmEditor::AlarmEditor(const Values& values, FilePicker& picker, AlarmCommands& alarms,
                         const QString& chime, const TextSource& texts, QWidget* parent)
    : QDialog(parent), m_initial(values), m_alarms(alarms), m_chime(chime), m_texts(texts)
{
    const AlarmEditorNames& name = alarmEditorNames;
    setObjectName(QLatin1String(name.window));
    setWindowTitle(QStringLiteral("Alarm"));
    // A dialog of the window that opened it: in front of it, never left behind it.
    form::setFixedBorder(this, Qt::Dialog);
    auto* layout = new QVBoxLayout(this);

    // The days in the order of the pack's week, named by the pack's language.
    auto* daysBox = named(new QGroupBox(QStringLiteral("Days"), this), name.daysBox);
    auto* days = new QHBoxLayout(daysBox);
    const QLocale locale = texts.locale();
    for (int i = 0; i < 7; ++i) {
        const int weekday = (locale.firstDayOfWeek() + i) % 7; // 0 for Sunday
        auto* box =
            named(new QCheckBox(locale.dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat),
                                daysBox),
                  name.day);
        box->setProperty("index", weekday);
        box->setProperty("runtimeText", true);
        box->setProperty("wantsAccessKey", true);
        box->setAccessibleName(locale.dayName(weekday == 0 ? 7 : weekday));
        box->setChecked(values.days & (1u << weekday));
        days->addWidget(box);
        m_days[static_cast<std::size_t>(weekday)] = box;
    }
    layout->addWidget(daysBox);

    auto* fields = new QGridLayout;
    int row = 0;
    auto field = [this, fields, &row](const char* labelName, const QString& caption, QWidget* w) {
        auto* label = named(new QLabel(caption, this), labelName);
        label->setBuddy(w);
        fields->addWidget(label, row, 0);
        fields->addWidget(w, row, 1);
        ++row;
        return w;
    };
    m_reason = named(new QLineEdit(values.reason, this), name.reason);
    field(name.reasonLabel, QStringLiteral("&Reason"), m_reason);
    m_time = named(new QLineEdit(values.time, this), name.time);
    m_time->setPlaceholderText(QStringLiteral("hh:mm"));
    field(name.timeLabel, QStringLiteral("&Time (hh:mm)"), m_time);

    // The sound's field and its buttons in one row; all of them the dialog's own, so that the
    // label names the field for screen readers.
    auto* soundLayout = new QHBoxLayout;
    m_soundFile = named(new QLineEdit(values.sound, this), name.sound);
    soundLayout->addWidget(m_soundFile, 1);
    QPushButton* browse = browseButton(this, name.browse, QStringLiteral("Browse for sound file"),
                                       picker, kMusicFilterList, m_soundFile);
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
    soundLayout->addWidget(browse);
    auto* play = named(new QPushButton(this), name.play);
    form::makeSymbolButton(play, form::Glyph::Play, 10);
    form::nameByToolTip(play, QStringLiteral("Play"));
    play->setAutoDefault(false);
    auto* stop = named(new QPushButton(this), name.stop);
    form::makeSymbolButton(stop, form::Glyph::Stop, 8.25);
    form::nameByToolTip(stop, QStringLiteral("Stop"));
    stop->setAutoDefault(false);
    soundLayout->addWidget(play);
    soundLayout->addWidget(stop);
    auto* soundLabel = named(new QLabel(QStringLiteral("&Sound"), this), name.soundLabel);
    soundLabel->setBuddy(m_soundFile);
    fields->addWidget(soundLabel, row, 0);
    fields->addLayout(soundLayout, row, 1);
    ++row;

    m_ring = named(new NamedComboBox(this), name.ring);
    field(name.ringLabel, QStringLiteral("&How long it rings"), m_ring);
    fillChoices(m_ring, {0, 1, 5, 15}, values.ringMinutes);
    m_snooze = named(new NamedComboBox(this), name.snooze);
    field(name.snoozeLabel, QStringLiteral("S&nooze length"), m_snooze);
    fillChoices(m_snooze, {1, 2, 3, 5, 10, 15, 20, 30, 45, 60}, values.snoozeMinutes);
    m_volumeAsRead = values.volume;
    m_volume = named(new QSpinBox(this), name.volume);
    m_volume->setRange(1, 100);
    m_volume->setSuffix(QStringLiteral(" %"));
    m_volume->setValue(alarmVolume(toStd(values.volume)));
    field(name.volumeLabel, QStringLiteral("&Volume"), m_volume);
    m_fade = named(new NamedComboBox(this), name.fade);
    field(name.fadeLabel, QStringLiteral("&Fade in"), m_fade);
    fillFadeChoices(values.fadeSeconds);
    layout->addLayout(fields);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok =
        named(buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole), name.ok);
    ok->setDefault(true);
    auto* cancel = named(buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole),
                         name.cancel);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &AlarmEditor::okPressed);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(play, &QPushButton::clicked, this, [this] {
        // As the alarm would play: its volume, and its fade-in or the settings'.
        const QString file = m_soundFile->text().trimmed();
        const Values v = AlarmEditor::values();
        m_alarms.tryOutSound(file.isEmpty() ? m_chime : file, alarmVolume(toStd(v.volume)),
                             alarmFadeSeconds(toStd(v.fadeSeconds)));
    });
    connect(stop, &QPushButton::clicked, this, [this] { m_alarms.stopAllSound(); });
    // Reading order: the days, the fields from top to bottom, then OK and Cancel.
    QList<QWidget*> order;
    for (int i = 0; i < 7; ++i)
        order << m_days[static_cast<std::size_t>((locale.firstDayOfWeek() + i) % 7)];
    order << m_reason << m_time << m_soundFile << browse << play << stop << m_ring << m_snooze
          << m_volume << m_fade << ok << cancel;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    form::uniqueAccessKeys(this);
    m_reason->setFocus();
    // What it shows at first: a value the lists word as "As in Options" (one written by hand
    // that means nothing) counts as changed only when the user changes it.
    m_initial = AlarmEditor::values();
}

AlarmEditor::~AlarmEditor() = default;

void AlarmEditor::fillChoices(NamedComboBox* box, const QList<int>& minutes, const QString& current)
{
    box->addItem(m_texts.words(texts::asInOptionsChoice), QString());
    QList<int> offered = minutes;
    // A length written by hand that the list lacks is offered as it is.
    bool ok = false;
    const int own = current.toInt(&ok);
    const bool valid = box == m_ring ? alarmRingMinutes(toStd(current)).has_value()
                                     : alarmSnoozeMinutes(toStd(current)).has_value();
    if (ok && valid && !offered.contains(own)) {
        offered << own;
        std::sort(offered.begin(), offered.end());
    }
    for (const int m : offered)
        box->addItem(m == 0 ? m_texts.words(texts::ringOnce)
                            : m_texts.words(texts::minutesShort, {QString::number(m)}),
                     QString::number(m));
    const int index = valid ? box->findData(QString::number(own)) : 0;
    box->setCurrentIndex(std::max(index, 0));
}

void AlarmEditor::fillFadeChoices(const QString& current)
{
    m_fade->addItem(m_texts.words(texts::asInOptionsChoice), QString());
    QList<int> offered = {0, 10, 30, 60};
    // A fade-in written by hand that the list lacks is offered as it is.
    const auto own = alarmFadeSeconds(toStd(current));
    if (own && !offered.contains(*own)) {
        offered << *own;
        std::sort(offered.begin(), offered.end());
    }
    for (const int s : offered)
        m_fade->addItem(s == 0 ? m_texts.words(texts::fadeOff)
                               : m_texts.words(texts::secondsShort, {QString::number(s)}),
                        QString::number(s));
    m_fade->setCurrentIndex(own ? std::max(m_fade->findData(QString::number(*own)), 0) : 0);
}

AlarmEditor::Values AlarmEditor::values() const
{
    Values v;
    for (int weekday = 0; weekday < 7; ++weekday)
        if (m_days[static_cast<std::size_t>(weekday)]->isChecked())
            v.days |= 1u << weekday;
    v.reason = m_reason->text();
    v.time = m_time->text();
    v.sound = m_soundFile->text();
    v.ringMinutes = m_ring->currentData().toString();
    v.snoozeMinutes = m_snooze->currentData().toString();
    // A value the spin box shows as it reads it stays as the file spells it ("150" shows 100).
    v.volume = m_volume->value() == alarmVolume(toStd(m_volumeAsRead))
                   ? m_volumeAsRead
                   : QString::number(m_volume->value());
    v.fadeSeconds = m_fade->currentData().toString();
    return v;
}

std::optional<AlarmEditor::Values> AlarmEditor::validated(MessageBox& messages) const
{
    Values v = values();
    const auto caption = [this](const char* labelName) {
        const auto* label = findChild<QLabel*>(QLatin1String(labelName));
        return label ? withoutMnemonic(label->text()) : QString();
    };
    if (v.days == 0) {
        messages.show(m_texts.words(texts::chooseDays), MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (v.reason.trimmed().isEmpty() || v.time.trimmed().isEmpty()) {
        messages.show(m_texts.words(texts::fillInAllFields), MessageIcon::Exclamation);
        return std::nullopt;
    }
    const auto minute = parseTimeOfDay(toStd(v.time));
    if (!minute) {
        messages.show(m_texts.words(texts::badTime, {caption(alarmEditorNames.timeLabel), v.time}),
                      MessageIcon::Exclamation);
        return std::nullopt;
    }
    v.time = toQ(formatTimeOfDay(*minute));
    return v;
}

void AlarmEditor::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the editor as Cancel does, writing nothing.
    if (!form::closeOnEscape(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace chimewell
