#include "QtTranslations.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QLibraryInfo>
#include <QtCore/QTranslator>

namespace chimewell {

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

bool QtTranslations::use(const QString& locale, const QString& appDir)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (locale.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>();
    const QString name = QStringLiteral("qtbase_") + locale;
    // A portable folder (Windows) brings its own; a Linux desktop has Qt's.
    if (!translator->load(name, appDir + QStringLiteral("/translations")) &&
        !translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}

} // namespace chimewell
