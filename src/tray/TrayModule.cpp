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
    if (m_notifier)
        connect(m_notifier, &DesktopNotifier::actionInvoked, this, &TrayModule::actionInvoked);
}

void TrayModule::addIcon(const QString& iconFile, const QString& tip, QMenu* menu)
{
    m_icon.add(iconFile, cut(tip, kTipLimit), menu);
}

void TrayModule::showBalloon(const QString& text, const QString& title)
{
    tell({title, text, false, {}});
}

bool TrayModule::tell(const Notice& notice)
{
    Notice shown = notice;
    shown.text = cut(notice.text, kTextLimit);
    shown.title = cut(notice.title, kTitleLimit);
    if (m_notifier && m_notifier->notify(shown))
        return m_notifier->showsActions();
    if (hasNotificationArea()) {
        m_icon.showBalloon(shown.title, shown.text);
        return false;
    }
    if (m_notice)
        m_notice->close();
    m_notice = makeNotice(shown.title, shown.text);
    m_notice->show();
    // An alarm's notice stays until the user closes it.
    if (!notice.urgent)
        QTimer::singleShot(kNoticeMilliseconds, m_notice.data(), &QWidget::close);
    return false;
}

void TrayModule::withdraw()
{
    if (m_notifier)
        m_notifier->withdraw();
}

void TrayModule::setToolTip(const QString& tip)
{
    m_icon.setToolTip(cut(tip, kTipLimit));
}

void TrayModule::removeIcon()
{
    m_icon.remove();
}

bool TrayModule::hasNotificationArea() const
{
    return m_icon.isAvailable();
}

} // namespace chimewell
