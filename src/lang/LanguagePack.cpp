#include "LanguagePack.h"

#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QAction>
#include <QtGui/QTextDocument>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QWidget>

namespace chimewell {
namespace {

// A pack is a file from elsewhere: its texts are shown as they stand, never as markup.
QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QObject* findControl(QWidget* window, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    const auto found = window->findChildren<QObject*>(name);
    return found.isEmpty() ? nullptr : found.first();
}

QObject* findArrayElement(QWidget* window, const QString& name, int index)
{
    // Elements of a control array share the name and carry their index as a property.
    for (QObject* o : window->findChildren<QObject*>(name)) {
        const QVariant i = o->property("index");
        if (i.isValid() && i.toInt() == index)
            return o;
    }
    return nullptr;
}

QString pick(const std::string& override, const std::string& base)
{
    return toQ(override.empty() ? base : override);
}

} // namespace

bool setCaption(QObject* control, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        // A symbol button drawn as an icon keeps its mark.
        if (button->icon().isNull())
            button->setText(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // A picture box has no caption: a text would replace its picture.
        if (form::isPicture(label))
            return false;
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
        return true;
    }
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
        return true;
    }
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (action->isSeparator())
            return false;
        action->setText(text);
        return true;
    }
    return false;
}

bool setToolTip(QObject* control, const QString& text)
{
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget || qobject_cast<QMenu*>(widget))
        return false;
    widget->setToolTip(plainToolTip(text));
    return true;
}

LanguagePack::LanguagePack(MessageBox& messages) : m_messages(messages) {}

QString LanguagePack::unscramble(const QString& text) const
{
    std::string out;
    const QByteArray bytes = text.toLatin1();
    if (!pack::descramble(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), out))
        return {};
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

bool LanguagePack::loadPack(const QString& file, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    // Only a regular file of a sensible size is opened: a device would never end and a pipe
    // would block start-up for good.
    const QFileInfo info(file);
    if (info.isDir())
        return fail(file + QStringLiteral(" is a folder, not a language pack"));
    if (info.exists() && !info.isFile())
        return fail(file + QStringLiteral(" is not a regular file"));
    if (info.size() > kMaxPackBytes)
        return fail(file + QStringLiteral(" is too large for a language pack"));
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return fail(file + QStringLiteral(": ") + input.errorString());
    const QByteArray bytes = input.read(kMaxPackBytes + 1);
    input.close();
    if (bytes.size() > kMaxPackBytes)
        return fail(file + QStringLiteral(" is too large for a language pack"));
    pack::Pack fresh;
    std::string cause;
    if (!pack::readPack(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        fresh, cause))
        return fail(file + QStringLiteral(": ") + toQ(cause));
    m_pack = std::move(fresh);
    m_loaded = true;
    currentFile = file;
    return true;
}

void LanguagePack::apply(QWidget* window)
{
    if (!window)
        return;
    applyTexts(window);
    // Controls grow where the new texts need more room than the design gave them.
    form::fitTexts(window);
}

void LanguagePack::applyTexts(QWidget* window) const
{
    if (!m_loaded)
        return;
    // A window that no entry names keeps its texts.
    const pack::FormEntry* entry = pack::findForm(m_pack, toStd(window->objectName()));
    if (!entry)
        return;
    window->setWindowTitle(pick(entry->captionOverride, entry->caption));
    for (int j = 1; j <= entry->controlCount; ++j) {
        const pack::ControlEntry& c = entry->control(j);
        const pack::KeyTarget target = pack::parseKey(c.key);
        if (!target.valid)
            continue;
        const QString name = toQ(target.name);
        switch (target.kind) {
        case pack::KeyTarget::Tab:
            if (auto* tabs = qobject_cast<QTabWidget*>(findControl(window, name)))
                if (target.index >= 0 && target.index < tabs->count())
                    tabs->setTabText(target.index, pick(c.captionOverride, c.caption));
            break;
        case pack::KeyTarget::ArrayElement:
            if (QObject* element = findArrayElement(window, name, target.index))
                setCaption(element, pick(c.captionOverride, c.caption));
            break;
        case pack::KeyTarget::Plain:
            QObject* control = findControl(window, name);
            if (!control)
                break;
            if (!c.caption.empty())
                setCaption(control, pick(c.captionOverride, c.caption));
            if (!c.toolTip.empty())
                setToolTip(control, pick(c.toolTipOverride, c.toolTip));
            break;
        }
    }
}

QString LanguagePack::looseString(const QString& name) const
{
    return toQ(pack::findString(m_pack, toStd(name)));
}

QString LanguagePack::packList(const QString& folder, const QString& pattern) const
{
    return packFiles(folder, pattern).join(QLatin1Char('|'));
}

QStringList LanguagePack::packFiles(const QString& folder, const QString& pattern) const
{
    if (!folderExists(folder)) {
        m_messages.show(folder + QStringLiteral(" doesn't exist."), MessageIcon::Stop);
        return {};
    }
    // Ordinary files only (no folders, no hidden or system files), matched without regard to
    // case and sorted, so the list is the same on every file system.
    QDir dir(folder);
    return dir.entryList({pattern}, QDir::Files | QDir::NoDotAndDotDot,
                         QDir::Name | QDir::IgnoreCase);
}

bool LanguagePack::folderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace chimewell
