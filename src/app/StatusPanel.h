#pragma once

#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>

class QLabel;

namespace chimewell {

/// Panel 1 of the main window's status bar: a 16 x 16 picture and a text.
class StatusPanel : public QWidget
{
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    void set(const QString& text, const QPixmap& picture);
    QString text() const;
    QPixmap picture() const;

private:
    QLabel* m_picture;
    QLabel* m_text;
};

} // namespace chimewell
