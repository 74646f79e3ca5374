#include "TrayModule.h"

#include "platform/TrayIcon.h"

#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QVBoxLayout>

namespace chimewell {

/// The notices where the desktop shows none: a window that lists each, its text as plain text
/// with its own buttons, until it is acted on. It has a title bar and a close box; closing it
/// by hand dismisses every notice it lists.
class NoticeWindow : public QWidget
{
public:
    explicit NoticeWindow(TrayModule* tray)
        : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
          m_tray(tray)
    {
        setObjectName(QStringLiteral("TrayNotice"));
        setWindowTitle(QStringLiteral("Chimewell"));
        setProperty("neverBlocked", true); // no message box of the program takes it as owner
        setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        m_scroll = new QScrollArea(this);
        m_scroll->setWidgetResizable(true);
        m_scroll->setFrameShape(QFrame::NoFrame);
        // A click beside the buttons leaves the focus where it is (on Stop); Tab scrolls to
        // the buttons it reaches.
        m_scroll->setFocusPolicy(Qt::NoFocus);
        auto* rows = new QWidget(m_scroll);
        m_rows = new QVBoxLayout(rows);
        m_rows->addStretch();
        m_scroll->setWidget(rows);
        layout->addWidget(m_scroll);
    }

    bool contains(int id) const { return m_rowOf.contains(id); }
    bool isEmpty() const { return m_rowOf.isEmpty(); }

    /// Lists `notice`, or shows it in place of the row of the same number.
    void put(int id, const Notice& notice)
    {
        if (QWidget* old = m_rowOf.take(id))
            delete old;
        auto* row = new QWidget(m_scroll->widget());
        row->setObjectName(QStringLiteral("Notice%1").arg(id));
        auto* layout = new QVBoxLayout(row);
        // The whole of a summarised notice (every alarm of a long sleep) in a box of its own
        // that scrolls; a short one as a label.
        if (!notice.details.isEmpty()) {
            auto* text = new QPlainTextEdit(notice.details, row);
            text->setObjectName(QStringLiteral("NoticeDetails"));
            text->setReadOnly(true);
            text->setMinimumHeight(text->fontMetrics().lineSpacing() * 12);
            layout->addWidget(text);
        } else {
            auto* text = new QLabel(notice.text, row);
            text->setObjectName(QStringLiteral("NoticeText"));
            text->setTextFormat(Qt::PlainText);
            text->setWordWrap(true);
            text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            layout->addWidget(text);
        }
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        for (const NoticeAction& action : notice.actions) {
            auto* button = new QPushButton(action.label, row);
            button->setObjectName(action.key);
            connect(button, &QPushButton::clicked, m_tray,
                    [tray = m_tray, id, key = action.key] { emit tray->actionInvoked(id, key); });
            buttons->addWidget(button);
        }
        layout->addLayout(buttons);
        m_rows->insertWidget(m_rows->count() - 1, row);
        m_rowOf.insert(id, row);
        fit();
    }

    /// Takes a notice's row away, without dismissing it; the window goes with the last row.
    void take(int id)
    {
        delete m_rowOf.take(id);
        if (m_rowOf.isEmpty()) {
            m_closedByProgram = true;
            close();
        } else {
            fit();
        }
    }

    /// Shows the window clear of the desktop's panels, and takes the focus when the program
    /// has it: a keyboard user can act on the notice at once.
    void present()
    {
        const bool programActive = QApplication::activeWindow() != nullptr;
        setAttribute(Qt::WA_ShowWithoutActivating, !programActive);
        // The first button has the focus whenever the window has it (not the text, which can
        // take it too), also where showing the window activates it at once (Windows).
        if (auto* first = findChild<QPushButton*>();
            first && !qobject_cast<QPushButton*>(focusWidget()))
            first->setFocus();
        fit();
        show();
        raise();
        if (programActive)
            activateWindow();
        // The window manager's frame is known once the window shows: clear of the panels with it.
        QTimer::singleShot(200, this, [this] { fit(); });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        // Escape closes the window as its close box does.
        if (event->key() == Qt::Key_Escape)
            close();
        else
            QWidget::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (!m_closedByProgram && m_tray)
            for (const int id : m_rowOf.keys())
                emit m_tray->dismissed(id);
        event->accept();
    }

private:
    // As large as its rows, within two thirds of the screen, in its lower right corner.
    void fit()
    {
        const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        m_scroll->widget()->adjustSize();
        const QSize wanted = m_scroll->widget()->sizeHint() + QSize(4, 4);
        const QSize size(qBound(280, wanted.width(), area.width() / 2),
                         qMin(wanted.height(), area.height() * 2 / 3));
        resize(size);
        const QRect frame = frameGeometry();
        const QSize border = frame.size() - geometry().size();
        const int margin = 16;
        move(area.right() - size.width() - border.width() - margin,
             area.bottom() - size.height() - border.height() - margin);
    }

    QPointer<TrayModule> m_tray;
    QScrollArea* m_scroll;
    QVBoxLayout* m_rows;
    QHash<int, QWidget*> m_rowOf;
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
    : NoticeBoard(parent), m_icon(icon), m_notifier(notifier)
{
    connect(&m_icon, &TrayIcon::leftPressed, this, &TrayModule::leftPressed);
    connect(this, &TrayModule::dismissed, this, [this](int id) { m_notices.remove(id); });
    if (m_notifier) {
        connect(m_notifier, &DesktopNotifier::actionInvoked, this, &TrayModule::actionInvoked);
        connect(m_notifier, &DesktopNotifier::dismissed, this, &TrayModule::dismissed);
        // A service that fails a notice (or crashes inside the call, or never answers) leaves
        // the icon's way. On a StatusNotifier tray the balloon goes to that same service, so
        // the notice window shows it at once, whatever the notice.
        connect(m_notifier, &DesktopNotifier::failed, this, [this](int id) {
            if (!m_notices.contains(id))
                return;
            showOnIcon(id);
            if (!(m_window && m_window->contains(id)))
                showInWindow(id);
        });
    }
}

TrayModule::~TrayModule()
{
    delete m_window; // gone with the program, without dismissing what it lists
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
        withdraw(m_lastPassing);
        m_lastPassing = id;
    }
    m_notices.insert(id, notice);
    show(id);
    return id;
}

void TrayModule::retell(int id, const Notice& notice)
{
    if (!m_notices.contains(id))
        return;
    m_notices.insert(id, notice);
    if (m_window && m_window->contains(id))
        m_window->put(id, notice);
    else
        show(id);
}

void TrayModule::withdraw(int id)
{
    if (!m_notices.remove(id))
        return;
    if (m_notifier)
        m_notifier->withdraw(id);
    if (m_window && m_window->contains(id))
        m_window->take(id);
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
    // A summary's whole text has room only in the notice window.
    if (!m_notices.value(id).details.isEmpty() && !(m_window && m_window->contains(id)))
        showInWindow(id);
}

void TrayModule::showOnIcon(int id)
{
    if (!hasNotificationArea()) {
        showInWindow(id);
        return;
    }
    const Notice notice = cut(m_notices.value(id));
    m_icon.showBalloon(notice.title, notice.text);
    if (notice.urgent)
        showInWindow(id);
}

void TrayModule::showInWindow(int id)
{
    if (!m_window)
        m_window = new NoticeWindow(this);
    m_window->put(id, m_notices.value(id));
    m_window->present();
    if (!m_notices.value(id).urgent)
        QTimer::singleShot(kNoticeMilliseconds, this, [this, id] {
            if (m_window && m_window->contains(id))
                m_window->take(id);
        });
}

} // namespace chimewell
