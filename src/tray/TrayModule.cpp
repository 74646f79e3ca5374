#include "TrayModule.h"

#include "platform/TrayIcon.h"

#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

namespace chimewell {

/// The notice where the desktop shows none: its title, its text as plain text, and its
/// buttons. Closing it by hand dismisses the notice.
class NoticeWindow : public QWidget
{
public:
    NoticeWindow(int id, const Notice& notice, TrayModule* tray)
        : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), m_id(id), m_tray(tray)
    {
        setObjectName(QStringLiteral("TrayNotice"));
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowTitle(notice.title);
        auto* layout = new QVBoxLayout(this);
        auto* heading = new QLabel(notice.title, this);
        heading->setTextFormat(Qt::PlainText);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        m_body = new QLabel(notice.text, this);
        m_body->setObjectName(QStringLiteral("NoticeText"));
        m_body->setTextFormat(Qt::PlainText);
        m_body->setWordWrap(true);
        layout->addWidget(heading);
        layout->addWidget(m_body);
        auto* buttons = new QHBoxLayout;
        for (const NoticeAction& action : notice.actions) {
            auto* button = new QPushButton(action.label, this);
            button->setObjectName(action.key);
            connect(button, &QPushButton::clicked, tray,
                    [this, tray, key = action.key] { emit tray->actionInvoked(m_id, key); });
            buttons->addWidget(button);
        }
        layout->addLayout(buttons);
        setMinimumWidth(260);
    }

    int id() const { return m_id; }
    void setText(const QString& text) { m_body->setText(text); }
    /// Closes the window without dismissing its notice.
    void takeAway()
    {
        m_closedByProgram = true;
        close();
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (!m_closedByProgram && m_tray)
            emit m_tray->dismissed(m_id);
        event->accept();
    }

private:
    int m_id;
    QPointer<TrayModule> m_tray;
    QLabel* m_body;
    bool m_closedByProgram = false;
};

namespace {

Notice cut(Notice notice)
{
    notice.text = notice.text.left(TrayModule::kTextLimit);
    notice.title = notice.title.left(TrayModule::kTitleLimit);
    return notice;
}

} // namespace

TrayModule::TrayModule(TrayIcon& icon, DesktopNotifier* notifier, QObject* parent)
    : QObject(parent), m_icon(icon), m_notifier(notifier)
{
    connect(&m_icon, &TrayIcon::leftPressed, this, &TrayModule::leftPressed);
    connect(this, &TrayModule::dismissed, this, [this](int id) { m_notices.remove(id); });
    if (m_notifier) {
        connect(m_notifier, &DesktopNotifier::actionInvoked, this, &TrayModule::actionInvoked);
        connect(m_notifier, &DesktopNotifier::dismissed, this, &TrayModule::dismissed);
        // A service that fails a notice (or crashes inside the call) leaves the icon's way.
        connect(m_notifier, &DesktopNotifier::failed, this, [this](int id) {
            if (m_notices.contains(id))
                showOnIcon(id);
        });
    }
}

TrayModule::~TrayModule()
{
    if (m_window)
        m_window->takeAway();
}

void TrayModule::addIcon(const QString& iconFile, const QString& tip, QMenu* menu)
{
    m_icon.add(iconFile, tip.left(kTipLimit), menu);
}

void TrayModule::removeIcon()
{
    m_icon.remove();
}

void TrayModule::setToolTip(const QString& tip)
{
    m_icon.setToolTip(tip.left(kTipLimit));
}

bool TrayModule::hasNotificationArea() const
{
    return m_icon.isAvailable();
}

int TrayModule::tell(const Notice& notice)
{
    const int id = ++m_lastId;
    if (!notice.urgent) {
        m_notices.remove(m_lastPassing);
        m_lastPassing = id;
    }
    m_notices.insert(id, cut(notice));
    show(id);
    return id;
}

void TrayModule::retell(int id, const Notice& notice)
{
    if (!m_notices.contains(id))
        return;
    m_notices.insert(id, cut(notice));
    if (m_window && m_window->id() == id)
        m_window->setText(m_notices.value(id).text);
    else
        show(id);
}

void TrayModule::withdraw(int id)
{
    m_notices.remove(id);
    if (m_notifier)
        m_notifier->withdraw(id);
    if (m_window && m_window->id() == id)
        m_window->takeAway();
}

QWidget* TrayModule::noticeWindow() const
{
    return m_window;
}

void TrayModule::show(int id)
{
    if (m_notifier && m_notifier->isAvailable())
        m_notifier->notify(id, m_notices.value(id));
    else
        showOnIcon(id);
}

void TrayModule::showOnIcon(int id)
{
    if (!hasNotificationArea()) {
        showWindow(id);
        return;
    }
    const Notice notice = m_notices.value(id);
    m_icon.showBalloon(notice.title, notice.text);
    // The balloon goes by itself; an urgent notice stays, in a window, until acted on.
    if (notice.urgent)
        QTimer::singleShot(kBalloonMilliseconds, this, [this, id] {
            if (m_notices.contains(id))
                showWindow(id);
        });
}

void TrayModule::showWindow(int id)
{
    if (m_window)
        m_window->takeAway();
    const Notice notice = m_notices.value(id);
    m_window = new NoticeWindow(id, notice, this);
    m_window->show();
    if (!notice.urgent)
        QTimer::singleShot(kNoticeMilliseconds, m_window.data(), &NoticeWindow::takeAway);
}

} // namespace chimewell
