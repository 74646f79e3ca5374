#pragma once

#include "dialogs/WindowSlot.h"
#include "lang/QtTranslations.h"

#include <QtCore/QObject>
#include <QtCore/QStringList>

namespace chimewell {

class LanguageApplier;
class LanguagePack;
class MainWindow;
struct PlatformServices;

/// Start-up of the program, in order: one copy only, the tray icon, the language pack on the
/// main window and the three dialogs, the window shown, the first-start welcome, the status
/// line, and hiding for "-minimized". Owns the main window and the single dialogs.
class Startup : public QObject
{
    Q_OBJECT
public:
    /// `language` is the program's one pack; `applier`, when given, stands between start-up
    /// and the pack (tests record through it).
    Startup(PlatformServices& services, const QString& appDir, LanguagePack& language,
            LanguageApplier* applier = nullptr, QObject* parent = nullptr);
    ~Startup() override;

    /// False when another copy runs: the user was told, and this copy ends.
    bool run(const QStringList& arguments);

    MainWindow* mainWindow() const { return m_mainWindow; }
    WindowSlot& options() { return m_options; }
    WindowSlot& schedule() { return m_schedule; }
    WindowSlot& remove() { return m_delete; }
    WindowSlot& about() { return m_about; }

    static const QString kWelcomeText;
    static const QString kAlreadyRunningText;

signals:
    /// The main window closed: the program ends.
    void finished();

private:
    void setUpDialogs();
    void applyLanguageToAll();
    void useQtTranslations();

    PlatformServices& m_services;
    QString m_appDir;
    LanguagePack& m_pack;
    LanguageApplier& m_language;
    QtTranslations m_qtTranslations;
    MainWindow* m_mainWindow = nullptr;
    WindowSlot m_options;
    WindowSlot m_schedule;
    WindowSlot m_delete;
    WindowSlot m_about;
};

} // namespace chimewell
