#include "BrowseButton.h"

#include "FormLayout.h"
#include "platform/FilePicker.h"

#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace chimewell {

QPushButton* browseButton(QWidget* parent, const char* name, const QString& tip, FilePicker& picker,
                          const char* filterList, QLineEdit* target)
{
    auto* button = form::named(new QPushButton(QStringLiteral("..."), parent), name);
    button->setFont(form::defaultFont());
    button->setAutoDefault(false);
    form::nameByToolTip(button, tip);
    QObject::connect(button, &QPushButton::clicked, target, [button, &picker, filterList, target] {
        if (const auto file = picker.openFile(button->window(),
                                              parseFilterList(QString::fromLatin1(filterList)), 0))
            target->setText(*file);
    });
    return button;
}

} // namespace chimewell
