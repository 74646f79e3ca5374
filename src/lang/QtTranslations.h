#pragma once

#include <QtCore/QString>
#include <memory>

class QTranslator;

namespace chimewell {

/// Qt's own texts (the file picker, the buttons of message boxes) in the language of the
/// pack: a pack names its locale in the loose string `locale` ("de", "pt_BR").
class QtTranslations
{
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    /// Loads Qt's translations for `locale`, from the folder `translations` beside the program
    /// or else from Qt's own; an empty or unknown locale leaves Qt's texts in English. True
    /// when a translation was installed.
    bool use(const QString& locale, const QString& appDir);

private:
    std::unique_ptr<QTranslator> m_translator;
};

} // namespace chimewell
