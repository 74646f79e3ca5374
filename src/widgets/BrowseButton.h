#pragma once

#include <QtCore/QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace chimewell {

class FilePicker;

/// A "..." button named `name` in `parent`, which screen readers call by `tip`; pressed, it
/// asks `picker` for a file of the types in `filterList` and puts it into `target`.
QPushButton* browseButton(QWidget* parent, const char* name, const QString& tip, FilePicker& picker,
                          const char* filterList, QLineEdit* target);

} // namespace chimewell
