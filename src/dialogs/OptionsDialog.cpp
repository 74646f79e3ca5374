#include "OptionsDialog.h"

#include "alarm/AlarmCommands.h"
#include "lang/LanguagePack.h"
#include "lang/Texts.h"
#include "platform/Autostart.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "storage/Loudness.h"
#include "storage/Settings.h"
#include "widgets/FormLayout.h"
#include "widgets/NamedComboBox.h"
#include "widgets/QtText.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

namespace chimewell {

using form::named;
using form::place;
using form::verdana;

OptionsDialog::OptionsDialog(PlatformServices& services, const QString& appDir,
                             AlarmCommands& alarms, LanguagePack& language,
                             std::function<void()> applyToOthers, QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir), m_alarms(alarms),
      m_language(language), m_applyToOthers(std::move(applyToOthers))
{
    const OptionsDialogNames& name = optionsDialogNames;
    setObjectName(QLatin1String(name.window));
    setWindowTitle(QStringLiteral("Options"));
    form::setFixedBorder(this);
    setFixedSize(form::px(5535), form::px(7035));
    auto group = [this](const char* groupName, const QString& title, int top, int height) {
        auto* box = named(new QGroupBox(title, this), groupName);
        box->setFont(verdana(8.25, true));
        place(box, 120, top, 5295, height);
        return box;
    };

    QGroupBox* languageBox = group(name.languageBox, QStringLiteral("Language"), 120, 1935);
    m_list = named(new QListWidget(languageBox), name.packList);
    m_list->setFont(form::defaultFont());
    place(m_list, 240, 360, 2175, 1425);
    form::nameByFrame(m_list);
    auto* buttonHolder = named(new QWidget(languageBox), name.buttonHolder);
    place(buttonHolder, 2520, 360, 2655, 1095);
    auto* change =
        named(new QPushButton(QStringLiteral("Change language"), buttonHolder), name.change);
    change->setFont(verdana(8.25, true));
    place(change, 0, 120, 2535, 375);
    auto* exit = named(new QPushButton(QStringLiteral("Exit"), buttonHolder), name.exit);
    exit->setFont(verdana(8.25, true));
    place(exit, 0, 600, 2535, 375);

    QGroupBox* startupBox = group(name.startupBox, QStringLiteral("Startup"), 2160, 855);
    m_startupCheck =
        named(new QCheckBox(QStringLiteral("Start Chimewell when I log on"), startupBox),
              name.startupCheck);
    m_startupCheck->setFont(verdana(8.25));
    place(m_startupCheck, 240, 360, 4815, 375);

    QGroupBox* ringBox = group(name.ringBox, QStringLiteral("How long an alarm rings"), 3120, 1215);
    QGroupBox* snoozeBox = group(name.snoozeBox, QStringLiteral("Snooze length"), 4440, 855);
    m_ringChoice = new QButtonGroup(this);
    m_snoozeChoice = new QButtonGroup(this);
    const struct
    {
        QButtonGroup* group;
        QGroupBox* box;
        const char* name;
        const char* caption;
        int minutes;
        int left;
        int top;
        int width;
    } choices[] = {
        {m_ringChoice, ringBox, name.ringOnce, "Once", 0, 240, 360, 2415},
        {m_ringChoice, ringBox, name.ringOneMinute, "1 minute", 1, 2760, 360, 2415},
        {m_ringChoice, ringBox, name.ringFiveMinutes, "5 minutes", 5, 240, 720, 2415},
        {m_ringChoice, ringBox, name.ringFifteenMinutes, "15 minutes", 15, 2760, 720, 2415},
        {m_snoozeChoice, snoozeBox, name.snoozeFive, "5 minutes", 5, 240, 360, 1575},
        {m_snoozeChoice, snoozeBox, name.snoozeTen, "10 minutes", 10, 1920, 360, 1575},
        {m_snoozeChoice, snoozeBox, name.snoozeFifteen, "15 minutes", 15, 3600, 360, 1575}};
    for (const auto& choice : choices) {
        auto* button =
            named(new QRadioButton(QString::fromLatin1(choice.caption), choice.box), choice.name);
        button->setFont(verdana(8.25));
        place(button, choice.left, choice.top, choice.width, 315);
        form::nameWithFrame(button); // "5 minutes" rings, or snoozes
        choice.group->addButton(button, choice.minutes);
    }

    QGroupBox* soundBox = group(name.soundBox, QStringLiteral("Sound"), 5400, 1515);
    auto soundRow = [this, soundBox](const char* labelName, const QString& caption,
                                     const char* comboName, int top) {
        auto* label = named(new QLabel(caption, soundBox), labelName);
        label->setFont(verdana(8.25));
        place(label, 240, top + 30, 2415, 255);
        auto* combo = named(new NamedComboBox(soundBox), comboName);
        combo->setFont(verdana(8.25));
        place(combo, 2760, top, 2415, 315);
        label->setBuddy(combo);
        return combo;
    };
    m_whenMuted = soundRow(name.whenMutedLabel, QStringLiteral("When the sound is &muted:"),
                           name.whenMuted, 330);
    m_fade = soundRow(name.fadeLabel, QStringLiteral("&Fade in:"), name.fade, 720);
    m_pauseMusic =
        named(new QCheckBox(QStringLiteral("&Pause music while an alarm rings"), soundBox),
              name.pauseMusic);
    m_pauseMusic->setFont(verdana(8.25));
    place(m_pauseMusic, 240, 1110, 4935, 315);

    connect(change, &QPushButton::clicked, this, &OptionsDialog::applyChosenLanguage);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_startupCheck, &QCheckBox::clicked, this, &OptionsDialog::saveStartup);
    connect(m_ringChoice, &QButtonGroup::idClicked, this, &OptionsDialog::saveRingMinutes);
    connect(m_snoozeChoice, &QButtonGroup::idClicked, this, &OptionsDialog::saveSnoozeMinutes);
    // Saved as they are chosen; a choice that cannot be saved is undone.
    connect(m_whenMuted, &QComboBox::activated, this, [this] {
        if (!saveSetting(kWhenMutedKey, toStd(m_whenMuted->currentData().toString())))
            fillSoundChoices();
    });
    connect(m_fade, &QComboBox::activated, this, [this] {
        if (!saveSetting(kFadeSecondsKey, toStd(m_fade->currentData().toString())))
            fillSoundChoices();
    });
    connect(m_pauseMusic, &QCheckBox::clicked, this, [this](bool on) {
        if (!saveSetting(kPauseMusicKey, on ? "1" : "0"))
            m_pauseMusic->setChecked(!on);
    });
    loadSettings();
}

void OptionsDialog::loadSettings()
{
    const std::string appDir = toStd(m_appDir);
    m_list->clear();
    m_list->addItems(m_language.packFiles(toQ(appFile(appDir, kPacksFolder))));
    // A pack that does not load leaves the texts this dialog has.
    m_language.loadChosen(m_appDir);
    m_language.apply(this);
    m_ringChoice->button(ringMinutes(readSetting(appDir, kRingMinutesKey)))->setChecked(true);
    m_snoozeChoice->button(snoozeMinutes(readSetting(appDir, kSnoozeMinutesKey)))->setChecked(true);
    fillSoundChoices();
    // The log-on entry follows the setting (a copy moved elsewhere gets its entry moved too);
    // "0" is written where the setting is missing. Nobody asked for this, so a failure here
    // is left for the user's own choice to tell.
    const bool startup = readSetting(appDir, kStartupKey) == "1";
    m_startupCheck->setChecked(startup);
    if (Autostart* entry = m_services.autostart; entry && entry->isEnabled() != startup)
        entry->setEnabled(startup);
    if (!startup && readSetting(appDir, kStartupKey) != "0")
        writeSetting(appDir, kStartupKey, "0");
}

bool OptionsDialog::saveSetting(std::string_view key, const std::string& value)
{
    std::string error;
    if (writeSetting(toStd(m_appDir), key, value, &error))
        return true;
    tellNotSaved(error);
    return false;
}

void OptionsDialog::tellNotSaved(const std::string& error)
{
    m_services.messages->show(
        translated(texts::settingNotSaved, {toQ(settingsFilePath(toStd(m_appDir))), toQ(error)}),
        MessageIcon::Exclamation);
}

void OptionsDialog::applyChosenLanguage()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (m_list->count() == 0 || !item || !item->isSelected())
        return;
    QString error;
    std::optional<pack::Pack> chosen = LanguagePack::read(
        toQ(appFile(toStd(m_appDir), kPacksFolder, toStd(item->text()))), &error);
    if (!chosen) {
        m_services.messages->show(translated(texts::packNotLoaded, {error}),
                                  MessageIcon::Exclamation);
        return;
    }
    // A language that would be gone at the next start is not taken now either.
    if (!saveSetting(kLanguageKey, toStd(item->text())))
        return;
    m_language.use(std::move(*chosen));
    m_language.apply(this);
    fillSoundChoices();
    if (m_applyToOthers)
        m_applyToOthers();
}

void OptionsDialog::fillSoundChoices()
{
    const std::string appDir = toStd(m_appDir);
    m_whenMuted->clear();
    m_whenMuted->addItem(translated(texts::whenMutedWarn), QStringLiteral("warn"));
    m_whenMuted->addItem(translated(texts::whenMutedUnmute), QStringLiteral("unmute"));
    m_whenMuted->setCurrentIndex(
        whenMutedSetting(readSetting(appDir, kWhenMutedKey)) == WhenMuted::Unmute ? 1 : 0);
    m_fade->clear();
    for (const int seconds : {0, 10, 30, 60})
        m_fade->addItem(seconds == 0 ? translated(texts::fadeOff)
                                     : translated(texts::secondsShort, {QString::number(seconds)}),
                        QString::number(seconds));
    m_fade->setCurrentIndex(m_fade->findData(
        QString::number(fadeSecondsSetting(readSetting(appDir, kFadeSecondsKey)))));
    m_pauseMusic->setChecked(pauseMusicSetting(readSetting(appDir, kPauseMusicKey)));
}

void OptionsDialog::saveStartup(bool enabled)
{
    // The setting and the entry change together, or neither does.
    const std::string before = readSetting(toStd(m_appDir), kStartupKey);
    Autostart* entry = m_services.autostart;
    if (!saveSetting(kStartupKey, enabled ? "1" : "0")) {
        m_startupCheck->setChecked(!enabled);
    } else if (entry && !entry->setEnabled(enabled)) {
        writeSetting(toStd(m_appDir), kStartupKey, before);
        m_startupCheck->setChecked(!enabled);
        m_services.messages->show(translated(texts::logOnNotSaved, {entry->location()}),
                                  MessageIcon::Exclamation);
    }
}

void OptionsDialog::saveRingMinutes(int minutes)
{
    const int before = m_alarms.defaultRingMinutes();
    if (std::string error; !m_alarms.setDefaultRingMinutes(minutes, &error)) {
        tellNotSaved(error);
        m_ringChoice->button(before)->setChecked(true);
    }
}

void OptionsDialog::saveSnoozeMinutes(int minutes)
{
    const int before = m_alarms.defaultSnoozeMinutes();
    if (std::string error; !m_alarms.setDefaultSnoozeMinutes(minutes, &error)) {
        tellNotSaved(error);
        m_snoozeChoice->button(before)->setChecked(true);
    }
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape does what "Exit" does.
    if (!form::closeOnEscape(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace chimewell
