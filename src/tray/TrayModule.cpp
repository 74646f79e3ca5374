#include "TrayModule.h"

#include "platform/TrayIcon.h"

#include <QtCore/QTimer>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

namespace chimewell {
namespace {

QString cut(const QString& text, int limit)
{
    return text.left(limit);
}

QWidget* makeNotice(const QString& title, const QString& text)
{
    auto* notice = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    notice->setObjectName(QStringLiteral("TrayNotice"));
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setAttribute(Qt::WA_ShowWithoutActivating);
    notice->setWindowTitle(title);
    auto* layout = new QVBoxLayout(notice);
    auto* heading = new QLabel(title, notice);
    heading->setTextFormat(Qt::PlainText);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* body = new QLabel(text, notice);
    body->setObjectName(QStringLiteral("NoticeText"));
    body->setTextFormat(Qt::PlainText);
    body->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(body);
    notice->setMinimumWidth(260);
    return notice;
}

} // namespace

TrayModule::TrayModule(TrayIcon& icon, DesktopNotifier* notifier, QObject* parent)
    : QObject(parent), m_icon(icon), m_notifier(notifier)
{
    connect(&m_icon, &TrayIcon::leftPressed, this, &TrayModule::leftPressed);
}

void TrayModule::AddTrayIcon(QWidget*, const QString& iconFile, const QString& tip, qint32,
                             QMenu* menu)
{
    m_icon.add(iconFile, cut(tip, kTipLimit), menu);
}

void TrayModule::ShowTrayBalloon(QWidget*, const QString& text, const QString& title, qint32)
{
    const QString shownText = cut(text, kTextLimit);
    const QString shownTitle = cut(title, kTitleLimit);
    if (hasNotificationArea()) {
        m_icon.showBalloon(shownTitle, shownText);
        return;
    }
    if (m_notifier && m_notifier->notify(shownTitle, shownText))
        return;
    if (m_notice)
        m_notice->close();
    m_notice = makeNotice(shownTitle, shownText);
    m_notice->show();
    QTimer::singleShot(kNoticeMilliseconds, m_notice.data(), &QWidget::close);
}

void TrayModule::RemoveTrayIcon()
{
    m_icon.remove();
}

bool TrayModule::hasNotificationArea() const
{
    return m_icon.isAvailable();
}

} // namespace chimewell
