#pragma once

#include <QtWidgets/QComboBox>

namespace chimewell {

/// A combo box that screen readers call by its label: its accessible name, else the label
/// whose buddy it is, else the title of the frame it stands in. (On Linux Qt names every combo
/// box by its value, so "Monday" would be all a screen reader says of a day box.) An editable
/// one's text field carries the same name.
class NamedComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit NamedComboBox(QWidget* parent = nullptr);

    /// The name a screen reader gives it now.
    QString spokenName() const;
    /// Gives the text field the name again (after a language pack changed the label).
    void refreshName();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace chimewell
