#include "OptionsDialog.h"

#include "lang/clsLanguagePack.h"
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

using form::place;
using form::verdana;

OptionsDialog::OptionsDialog(PlatformServices& services, const QString& appDir,
                             clsLanguagePack& language, std::function<void()> applyToOthers,
                             QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir), m_language(language),
      m_applyToOthers(std::move(applyToOthers))
{
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(form::px(5535), form::px(3135));

    auto* frame1 = new QGroupBox(QStringLiteral("Language"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFont(verdana(8.25, true));
    place(frame1, 120, 120, 5295, 1935);
    m_list = new QListWidget(frame1);
    m_list->setObjectName(QStringLiteral("lstLangPacks"));
    m_list->setFont(form::defaultFont());
    place(m_list, 240, 360, 2175, 1425);
    auto* picture1 = new QWidget(frame1);
    picture1->setObjectName(QStringLiteral("Picture1"));
    place(picture1, 2520, 360, 2655, 1095);
    auto* change = new QPushButton(QStringLiteral("Change language"), picture1);
    change->setObjectName(QStringLiteral("Command1"));
    change->setFont(verdana(8.25, true));
    place(change, 0, 120, 2535, 375);
    auto* exit = new QPushButton(QStringLiteral("Exit"), picture1);
    exit->setObjectName(QStringLiteral("Command4"));
    exit->setFont(verdana(8.25, true));
    place(exit, 0, 600, 2535, 375);

    auto* frame2 = new QGroupBox(QStringLiteral("Startup"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setFont(verdana(8.25, true));
    place(frame2, 120, 2160, 5295, 855);
    m_check1 = new QCheckBox(QStringLiteral("Start Chimewell when I log on"), frame2);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check1->setFont(verdana(8.25));
    place(m_check1, 240, 360, 4815, 375);

    connect(change, &QPushButton::clicked, this, &OptionsDialog::Command1_Click);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &OptionsDialog::Timer1_Timer);
    Form_Load();
    m_timer1.start();
}

QString OptionsDialog::executablePath() const
{
    return m_appDir + QLatin1Char('/') +
           QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

void OptionsDialog::Form_Load()
{
    const std::string appDir = toStd(m_appDir);
    m_list->clear();
    m_list->addItems(
        m_language.packFiles(toQ(appFile(appDir, kPacksFolder)), QStringLiteral("*.lpk")));
    // A pack that does not load leaves the texts this dialog has.
    const std::string language = readSetting(appDir, kLanguageKey);
    if (isPackFileName(language))
        m_language.LoadPack(toQ(appFile(appDir, kPacksFolder, language)));
    m_language.SetLanguageInForm(this);
    m_check1->setChecked(readSetting(appDir, kStartupKey) == "1");
}

void OptionsDialog::Command1_Click()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (m_list->count() == 0 || !item || !item->isSelected())
        return;
    const std::string appDir = toStd(m_appDir);
    QString error;
    if (!m_language.LoadPack(toQ(appFile(appDir, kPacksFolder, toStd(item->text()))), &error)) {
        m_services.messages->show(QStringLiteral("The language pack could not be loaded:\n") +
                                      error,
                                  MessageIcon::Exclamation);
        return;
    }
    writeSetting(appDir, kLanguageKey, toStd(item->text()));
    m_language.SetLanguageInForm(this);
    if (m_applyToOthers)
        m_applyToOthers();
}

void OptionsDialog::Timer1_Timer()
{
    // Present while checked, absent while unchecked; the disk is touched only when it differs.
    const std::string appDir = toStd(m_appDir);
    Autostart* entry = m_services.autostart;
    switch (m_check1->checkState()) {
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
    // Escape does what "Exit" does. (QDialog's own Escape would only hide the dialog.)
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace chimewell
