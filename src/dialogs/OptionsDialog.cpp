#include "OptionsDialog.h"

#include "platform/FormLayout.h"

#include <QtWidgets/QPushButton>

namespace chimewell {

OptionsDialog::OptionsDialog(PlatformServices& services, const QString& appDir, QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir)
{
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(form::px(5535), form::px(3135));
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("Command4"));
    exit->setFont(form::verdana(8.25, true));
    form::place(exit, 2640, 1080, 2535, 375);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace chimewell
