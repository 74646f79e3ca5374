#include "OptionsDialog.h"

#include "lang/LanguagePack.h"
#include "platform/Autostart.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtText.h"
#include "storage/Settings.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFileInfo>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>

namespace chimewell {
// Language packs address the window and its controls by these names: keep them as they are.
constexpr struct
{
    const char *window = "frmLanguage", *languageBox = "Frame1", *packList = "lstLangPacks",
               *buttonHolder = "Picture1", *change = "Command1", *exit = "Command4",
               *startupBox = "Frame2", *startupCheck = "Check1";
} packName{};

using form::place;
using form::verdana;

OptionsDialog::OptionsDialog(PlatformServices& services, const QString& appDir,
                             LanguagePack& language, std::function<void()> applyToOthers,
                             QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir), m_language(language),
      m_applyToOthers(std::move(applyToOthers))
{
    setObjectName(QString::fromLatin1(packName.window));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(form::px(5535), form::px(3135));

    auto* languageBox = new QGroupBox(QStringLiteral("Language"), this);
    languageBox->setObjectName(QString::fromLatin1(packName.languageBox));
    languageBox->setFont(verdana(8.25, true));
    place(languageBox, 120, 120, 5295, 1935);
    m_list = new QListWidget(languageBox);
    m_list->setObjectName(QString::fromLatin1(packName.packList));
    m_list->setFont(form::defaultFont());
    place(m_list, 240, 360, 2175, 1425);
    auto* buttonHolder = new QWidget(languageBox);
    buttonHolder->setObjectName(QString::fromLatin1(packName.buttonHolder));
    place(buttonHolder, 2520, 360, 2655, 1095);
    auto* change = new QPushButton(QStringLiteral("Change language"), buttonHolder);
    change->setObjectName(QString::fromLatin1(packName.change));
    change->setFont(verdana(8.25, true));
    place(change, 0, 120, 2535, 375);
    auto* exit = new QPushButton(QStringLiteral("Exit"), buttonHolder);
    exit->setObjectName(QString::fromLatin1(packName.exit));
    exit->setFont(verdana(8.25, true));
    place(exit, 0, 600, 2535, 375);

    auto* startupBox = new QGroupBox(QStringLiteral("Startup"), this);
    startupBox->setObjectName(QString::fromLatin1(packName.startupBox));
    startupBox->setFont(verdana(8.25, true));
    place(startupBox, 120, 2160, 5295, 855);
    m_startupCheck = new QCheckBox(QStringLiteral("Start Chimewell when I log on"), startupBox);
    m_startupCheck->setObjectName(QString::fromLatin1(packName.startupCheck));
    m_startupCheck->setFont(verdana(8.25));
    place(m_startupCheck, 240, 360, 4815, 375);

    connect(change, &QPushButton::clicked, this, &OptionsDialog::applyChosenLanguage);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    m_mirrorTimer.setObjectName(QStringLiteral("Timer1"));
    m_mirrorTimer.setInterval(1000);
    connect(&m_mirrorTimer, &QTimer::timeout, this, &OptionsDialog::mirrorStartupEntry);
    loadSettings();
    m_mirrorTimer.start();
}

QString OptionsDialog::executablePath() const
{
    return m_appDir + QLatin1Char('/') +
           QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

void OptionsDialog::loadSettings()
{
    const std::string appDir = toStd(m_appDir);
    m_list->clear();
    m_list->addItems(
        m_language.packFiles(toQ(appFile(appDir, kPacksFolder)), QStringLiteral("*.lpk")));
    // A pack that does not load leaves the texts this dialog has.
    const std::string language = readSetting(appDir, kLanguageKey);
    if (isPackFileName(language))
        m_language.loadPack(toQ(appFile(appDir, kPacksFolder, language)));
    m_language.apply(this);
    m_startupCheck->setChecked(readSetting(appDir, kStartupKey) == "1");
}

void OptionsDialog::applyChosenLanguage()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (m_list->count() == 0 || !item || !item->isSelected())
        return;
    const std::string appDir = toStd(m_appDir);
    QString error;
    if (!m_language.loadPack(toQ(appFile(appDir, kPacksFolder, toStd(item->text()))), &error)) {
        m_services.messages->show(QStringLiteral("The language pack could not be loaded:\n") +
                                      error,
                                  MessageIcon::Exclamation);
        return;
    }
    writeSetting(appDir, kLanguageKey, toStd(item->text()));
    m_language.apply(this);
    if (m_applyToOthers)
        m_applyToOthers();
}

void OptionsDialog::mirrorStartupEntry()
{
    // Present while checked, absent while unchecked; the disk is touched only when it differs.
    const std::string appDir = toStd(m_appDir);
    Autostart* entry = m_services.autostart;
    switch (m_startupCheck->checkState()) {
    case Qt::Checked:
        if (entry && !entry->matches(executablePath()))
            entry->enable(executablePath());
        if (readSetting(appDir, kStartupKey) != "1")
            writeSetting(appDir, kStartupKey, "1");
        break;
    case Qt::Unchecked:
        if (entry && entry->exists())
            entry->disable();
        if (readSetting(appDir, kStartupKey) != "0")
            writeSetting(appDir, kStartupKey, "0");
        break;
    case Qt::PartiallyChecked:
        break;
    }
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape does what "Exit" does.
    if (!form::closeOnEscape(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace chimewell
