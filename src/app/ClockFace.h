#pragma once

#include <QtWidgets/QWidget>

namespace chimewell {

/// The main window's clock. It changes every second while shown, so a new time repaints this
/// widget alone: unlike a label, it never asks its window to lay out again.
class ClockFace : public QWidget
{
    Q_OBJECT
public:
    explicit ClockFace(QWidget* parent = nullptr);

    /// Shows `time` in the locale's long format, without the time zone.
    void showTime(const QTime& time);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace chimewell
