#pragma once

#include <QtWidgets/QDialog>

namespace chimewell {

struct PlatformServices;

/// `frmLanguage`, the Options dialog.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(PlatformServices& services, const QString& appDir, QWidget* parent = nullptr);

private:
    PlatformServices& m_services;
    QString m_appDir;
};

} // namespace chimewell
