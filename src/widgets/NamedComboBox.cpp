#include "NamedComboBox.h"

#include <QtGui/QAccessible>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QAccessibleWidget>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>

namespace chimewell {
namespace {

QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// A combo box as a screen reader meets it: named by its label, its value apart, its list and
// (when editable) its text field as its parts, and the action that opens the list.
class AccessibleNamedCombo : public QAccessibleWidget
{
public:
    explicit AccessibleNamedCombo(NamedComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {}

    NamedComboBox* combo() const { return static_cast<NamedComboBox*>(widget()); }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return combo()->spokenName();
        if (kind == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return combo()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child->object() == combo()->view())
            return 0;
        if (child && combo()->isEditable() && child->object() == combo()->lineEdit())
            return 1;
        return -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.editable = combo()->isEditable();
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* accessibleCombo(const QString& className, QObject* object)
{
    if (className == QLatin1String("chimewell::NamedComboBox") && object->isWidgetType())
        return new AccessibleNamedCombo(static_cast<NamedComboBox*>(object));
    return nullptr;
}

} // namespace

NamedComboBox::NamedComboBox(QWidget* parent) : QComboBox(parent)
{
    static const bool installed = (QAccessible::installFactory(accessibleCombo), true);
    Q_UNUSED(installed);
}

QString NamedComboBox::spokenName() const
{
    if (!accessibleName().isEmpty())
        return accessibleName();
    if (QWidget* holder = parentWidget()) {
        for (const QLabel* label : holder->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == this)
                return withoutMnemonic(label->text());
        for (QWidget* frame = holder; frame; frame = frame->parentWidget())
            if (const auto* group = qobject_cast<QGroupBox*>(frame))
                return withoutMnemonic(group->title());
    }
    return {};
}

void NamedComboBox::refreshName()
{
    if (QLineEdit* edit = lineEdit())
        edit->setAccessibleName(spokenName());
}

void NamedComboBox::showEvent(QShowEvent* event)
{
    refreshName();
    QComboBox::showEvent(event);
}

} // namespace chimewell
