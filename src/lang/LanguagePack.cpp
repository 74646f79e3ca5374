#include "LanguagePack.h"

#include "Texts.h"
#include "platform/MessageBox.h"
#include "storage/Settings.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

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

// The pack that translated() reads: the one the program made last.
const LanguagePack* g_textSource = nullptr;

// A pack is a file from elsewhere: its texts are shown as they stand, never as markup, and
// never longer than a window can hold.
QString capped(const QString& text)
{
    if (text.size() <= LanguagePack::kMaxCaption)
        return text;
    return text.left(LanguagePack::kMaxCaption - 1) + QChar(0x2026);
}

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
    const QString shown = capped(text);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        // A symbol button drawn as an icon keeps its mark.
        if (button->icon().isNull())
            button->setText(shown);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // A picture box has no caption: a text would replace its picture.
        if (form::isPicture(label))
            return false;
        label->setTextFormat(Qt::PlainText);
        label->setText(shown);
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(shown);
        return true;
    }
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(shown);
        return true;
    }
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (action->isSeparator())
            return false;
        action->setText(shown);
        return true;
    }
    return false;
}

bool setToolTip(QObject* control, const QString& text)
{
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget || qobject_cast<QMenu*>(widget))
        return false;
    const QString shown = capped(text);
    widget->setToolTip(plainToolTip(shown));
    if (form::isNamedByToolTip(widget))
        widget->setAccessibleName(shown);
    return true;
}

QString translated(const Text& text, const QStringList& fill)
{
    if (g_textSource)
        return g_textSource->words(text, fill);
    return LanguagePack::fill(QString::fromUtf8(text.english), fill);
}

QLocale translatedLocale()
{
    return g_textSource ? g_textSource->locale() : QLocale(QLocale::English, QLocale::UnitedStates);
}

QString LanguagePack::words(const Text& text, const QStringList& fill) const
{
    QString words = looseString(QLatin1String(text.name));
    // A translation that lost one of the places would lose what goes there.
    for (int i = 1; i <= fill.size() && !words.isEmpty(); ++i)
        if (!words.contains(QLatin1Char('%') + QString::number(i)))
            words.clear();
    if (words.isEmpty())
        words = QString::fromUtf8(text.english);
    return LanguagePack::fill(words, fill);
}

QString LanguagePack::fill(const QString& words, const QStringList& fill)
{
    // In one pass, so that a "%2" in what fills %1 stays as it is.
    QString out;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const int place = i + 1 < words.size() ? words[i + 1].digitValue() : -1;
        if (words[i] == QLatin1Char('%') && place >= 1 && place <= fill.size()) {
            out += fill[place - 1];
            ++i;
        } else {
            out += words[i];
        }
    }
    return out;
}

LanguagePack::LanguagePack(MessageBox& messages) : m_messages(messages)
{
    g_textSource = this;
}

LanguagePack::~LanguagePack()
{
    if (g_textSource == this)
        g_textSource = nullptr;
}

std::optional<pack::Pack> LanguagePack::read(const QString& file, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return std::nullopt;
    };
    // A device would never end and a pipe would block start-up for good.
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
    if (bytes.size() > kMaxPackBytes)
        return fail(file + QStringLiteral(" is too large for a language pack"));
    pack::Pack fresh;
    std::string cause;
    if (!pack::readPack(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        fresh, cause))
        return fail(file + QStringLiteral(": ") + toQ(cause));
    return fresh;
}

bool LanguagePack::loadPack(const QString& file, QString* error)
{
    std::optional<pack::Pack> fresh = read(file, error);
    if (fresh)
        use(std::move(*fresh));
    return fresh.has_value();
}

bool LanguagePack::loadChosen(const QString& appDir)
{
    const std::string folder = toStd(appDir);
    const std::string name = readSetting(folder, kLanguageKey);
    return isPackFileName(name) && loadPack(toQ(appFile(folder, kPacksFolder, name)));
}

void LanguagePack::use(pack::Pack pack)
{
    m_pack = std::move(pack);
    m_loaded = true;
}

void LanguagePack::apply(QWidget* window) const
{
    if (!window)
        return;
    // A window that no entry names keeps its texts.
    const pack::FormEntry* entry =
        m_loaded ? pack::findForm(m_pack, toStd(window->objectName())) : nullptr;
    if (entry) {
        window->setWindowTitle(capped(pick(entry->captionOverride, entry->caption)));
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
                        tabs->setTabText(target.index, capped(pick(c.captionOverride, c.caption)));
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
    form::renameByFrames(window);
    // A translation (or the design) that gives two controls one access key gets one each.
    form::uniqueAccessKeys(window);
    // Controls grow where the new texts need more room than the design gave them.
    form::fitTexts(window);
}

QString LanguagePack::looseString(const QString& name) const
{
    return toQ(pack::findString(m_pack, toStd(name)));
}

QLocale LanguagePack::locale() const
{
    const QString name = looseString(QStringLiteral("locale"));
    return name.isEmpty() ? QLocale(QLocale::English, QLocale::UnitedStates) : QLocale(name);
}

QStringList LanguagePack::packFiles(const QString& folder) const
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        m_messages.show(translated(texts::folderMissing, {folder}), MessageIcon::Stop);
        return {};
    }
    // Ordinary files only (no folders, no hidden or system files), matched without regard to
    // case and sorted, so the list is the same on every file system.
    return QDir(folder).entryList({QStringLiteral("*.lpk")}, QDir::Files | QDir::NoDotAndDotDot,
                                  QDir::Name | QDir::IgnoreCase);
}

} // namespace chimewell
