#include "StatusPanel.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>

namespace chimewell {

StatusPanel::StatusPanel(QWidget* parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    m_picture->setFixedSize(16, 16);
    m_text->setTextFormat(Qt::PlainText);
    layout->addWidget(m_picture);
    layout->addWidget(m_text, 1);
}

void StatusPanel::set(const QString& text, const QPixmap& picture)
{
    m_text->setText(text);
    m_picture->setPixmap(picture);
}

QString StatusPanel::text() const
{
    return m_text->text();
}

QPixmap StatusPanel::picture() const
{
    return m_picture->pixmap();
}

} // namespace chimewell
