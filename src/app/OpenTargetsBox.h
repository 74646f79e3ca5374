#pragma once

#include <QtWidgets/QGroupBox>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace chimewell {

class FilePicker;

/// The main window's frame "Options": a web address and a file that the one-shot alarm opens
/// when it rings, each with a box that says whether it does.
class OpenTargetsBox : public QGroupBox
{
    Q_OBJECT
public:
    OpenTargetsBox(FilePicker& picker, QWidget* parent);

    /// What to open: the ticked address and file, as typed.
    QStringList targets() const;
    /// The address and the file cannot be changed while the alarm is armed; the boxes can, as
    /// what opens is read when the alarm rings.
    void setLocked(bool locked);
    /// The controls in the order Tab visits them.
    QList<QWidget*> tabOrder() const;

signals:
    /// A box was ticked or cleared.
    void targetsChanged();

private:
    QCheckBox* m_openSite;
    QLineEdit* m_site;
    QCheckBox* m_openFile;
    QLineEdit* m_file;
    QPushButton* m_browse;
};

} // namespace chimewell
