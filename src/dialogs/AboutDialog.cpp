#include "AboutDialog.h"

#include "lang/LanguagePack.h"
#include "platform/FormLayout.h"
#include "platform/QtText.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QImageReader>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFrame>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QTabWidget>

namespace chimewell {
// Language packs address the window and its controls by these names: keep them as they are.
constexpr struct
{
    const char *window = "frmAbout", *ok = "cmdOK", *tabs = "SSTab1", *icon = "picIcon",
               *title = "lblTitle", *version = "lblVersion", *ideas = "Label1", *contact = "Text2",
               *changelog = "Text1", *picture = "Image1", *line = "Line1",
               *disclaimer = "lblDisclaimer";
} packName{};

using form::named;
using form::place;
using form::px;
using form::verdana;

const QString AboutDialog::kContactAddress = QStringLiteral("feedback@chimewell.org");
const QString AboutDialog::kDisclaimer = QStringLiteral(
    "Chimewell is free software and comes without any warranty. Do not let it be the only "
    "thing that wakes you for something that matters.");

namespace {

// Controls on the tab control are placed relative to it, tab strip included; on a Qt tab
// page the strip lies above the page, so its height comes off the design position.
void placeOnTab(QWidget* widget, int tabBarHeight, int left, int top, int width, int height)
{
    widget->setGeometry(px(left) - 2, px(top) - tabBarHeight, px(width), px(height));
}

} // namespace

AboutDialog::AboutDialog(const QString& appDir, LanguagePack& language, QWidget* parent)
    : QDialog(parent), m_appDir(appDir), m_language(language)
{
    setObjectName(QString::fromLatin1(packName.window));
    setWindowTitle(QStringLiteral("About..."));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(5730), px(4305));

    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), packName.ok);
    ok->setFont(verdana(8.25, true));
    ok->setDefault(true); // Enter; Escape closes the dialog too
    place(ok, 4320, 3600, 1260, 345);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* tabs = named(new QTabWidget(this), packName.tabs);
    place(tabs, 120, 120, 5415, 3015);
    auto* general = new QWidget;
    auto* changelog = new QWidget;
    auto* credits = new QWidget;
    tabs->addTab(general, QStringLiteral("General "));
    tabs->addTab(changelog, QStringLiteral("Changelog "));
    tabs->addTab(credits, QStringLiteral("Credits "));
    tabs->setCurrentIndex(0);
    // Measured with the tabs in it: an empty tab bar has hardly any height.
    const int bar = tabs->tabBar()->sizeHint().height();

    auto* icon = named(new QLabel(general), packName.icon);
    form::markAsPicture(icon);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    placeOnTab(icon, bar, 240, 600, 540, 540);
    auto* title = named(new QLabel(general), packName.title);
    title->setFont(verdana(9.75, true));
    placeOnTab(title, bar, 960, 600, 1695, 375);
    auto* version = named(new QLabel(general), packName.version);
    version->setFont(verdana(8.25, true));
    placeOnTab(version, bar, 960, 840, 1815, 375);
    auto* label1 =
        named(new QLabel(QStringLiteral("You can send your ideas, comments, suggestions, "
                                        "bugs, etc. to me on the following address:"),
                         general),
              packName.ideas);
    label1->setWordWrap(true);
    label1->setFont(verdana(8.25));
    placeOnTab(label1, bar, 120, 1200, 5055, 495);
    auto* contact = named(new QLineEdit(kContactAddress, general), packName.contact);
    contact->setReadOnly(true);
    contact->setCursorPosition(0); // an address wider than the box shows its start
    placeOnTab(contact, bar, 120, 1800, 2295, 285);
    // Wide enough for the whole address, frame and text margins included.
    contact->resize(
        qMax(contact->width(), contact->fontMetrics().horizontalAdvance(kContactAddress) + 12),
        contact->height());

    auto* log = named(new QPlainTextEdit(changelog), packName.changelog);
    log->setReadOnly(true);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeOnTab(log, bar, 840, 480, 4455, 2415);
    log->resize(qMin(log->width(), tabs->width() - log->x() - 8),
                qMin(log->height(), tabs->height() - bar - log->y() - 8));

    auto* picture = named(new QLabel(credits), packName.picture);
    form::markAsPicture(picture);
    placeOnTab(picture, bar, 720, 480, 4575, 2415);
    picture->resize(qMin(picture->width(), tabs->width() - picture->x() - 8),
                    qMin(picture->height(), tabs->height() - bar - picture->y() - 8));

    // An etched line above the button: white over grey.
    const struct
    {
        int index;
        int right;
        const char* colour;
    } lines[] = {{0, 5669, "#ffffff"}, {1, 5684, "#808080"}};
    for (const auto& l : lines) {
        auto* line = named(new QFrame(this), packName.line);
        line->setProperty("index", l.index);
        line->setFrameShape(QFrame::NoFrame);
        line->setStyleSheet(QStringLiteral("background: %1").arg(QLatin1String(l.colour)));
        line->setGeometry(px(120), px(3240) + l.index, px(l.right) - px(120), 1);
    }

    auto* disclaimer = named(new QLabel(kDisclaimer, this), packName.disclaimer);
    disclaimer->setFont(verdana(8.25));
    disclaimer->setWordWrap(true);
    disclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(disclaimer, 255, 3480, 3870, 705);

    setTabOrder(ok, tabs);
    ok->setFocus();
    loadTexts();
}

void AboutDialog::loadTexts()
{
    const std::string appDir = toStd(m_appDir);
    m_language.loadPack(toQ(appFile(appDir, kPacksFolder, readSetting(appDir, kLanguageKey))));
    m_language.apply(this);
    findChild<QLabel*>(QString::fromLatin1(packName.version))
        ->setText(QStringLiteral("Version %1.%2.%3")
                      .arg(CHIMEWELL_VERSION_MAJOR)
                      .arg(CHIMEWELL_VERSION_MINOR)
                      .arg(CHIMEWELL_VERSION_PATCH));
    findChild<QLabel*>(QString::fromLatin1(packName.title))->setText(QStringLiteral("Chimewell"));
    findChild<QPlainTextEdit*>(QString::fromLatin1(packName.changelog))
        ->setPlainText(readTextFile(toQ(appFile(appDir, kChangelogName))));
    // A missing or broken picture leaves the picture empty.
    QImageReader reader(toQ(appFile(appDir, kPictureName)));
    const QImage image = reader.read();
    auto* picture = findChild<QLabel*>(QString::fromLatin1(packName.picture));
    if (!image.isNull())
        picture->setPixmap(QPixmap::fromImage(image));
    else
        picture->clear();
}

QString AboutDialog::readTextFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return toQ(
        decodeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

} // namespace chimewell
