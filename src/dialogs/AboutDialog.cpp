#include "AboutDialog.h"

#include "lang/LanguagePack.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

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
    const AboutDialogNames& name = aboutDialogNames;
    setObjectName(QLatin1String(name.window));
    setWindowTitle(QStringLiteral("About..."));
    form::setFixedBorder(this);
    setFixedSize(px(5730), px(4305));

    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), name.ok);
    ok->setFont(verdana(8.25, true));
    ok->setDefault(true); // Enter; Escape closes the dialog too
    place(ok, 4320, 3600, 1260, 345);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* tabs = named(new QTabWidget(this), name.tabs);
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

    auto* icon = named(new QLabel(general), name.icon);
    form::markAsPicture(icon);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    placeOnTab(icon, bar, 240, 600, 540, 540);
    auto* title = named(new QLabel(general), name.title);
    title->setFont(verdana(9.75, true));
    placeOnTab(title, bar, 960, 600, 1695, 375);
    auto* version = named(new QLabel(general), name.version);
    version->setFont(verdana(8.25, true));
    placeOnTab(version, bar, 960, 840, 1815, 375);
    auto* ideas = named(new QLabel(QStringLiteral("You can send your ideas, comments, suggestions, "
                                                  "bugs, etc. to me on the following address:"),
                                   general),
                        name.ideas);
    ideas->setWordWrap(true);
    ideas->setFont(verdana(8.25));
    placeOnTab(ideas, bar, 120, 1200, 5055, 495);
    auto* contact = named(new QLineEdit(kContactAddress, general), name.contact);
    ideas->setBuddy(contact);
    contact->setReadOnly(true);
    contact->setCursorPosition(0); // an address wider than the box shows its start
    placeOnTab(contact, bar, 120, 1800, 2295, 285);
    // Wide enough for the whole address, frame and text margins included.
    contact->resize(
        qMax(contact->width(), contact->fontMetrics().horizontalAdvance(kContactAddress) + 12),
        contact->height());

    auto* log = named(new QPlainTextEdit(changelog), name.changelog);
    log->setReadOnly(true);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeOnTab(log, bar, 840, 480, 4455, 2415);
    log->resize(qMin(log->width(), tabs->width() - log->x() - 8),
                qMin(log->height(), tabs->height() - bar - log->y() - 8));

    auto* picture = named(new QLabel(credits), name.picture);
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
        auto* line = named(new QFrame(this), name.line);
        line->setProperty("index", l.index);
        line->setFrameShape(QFrame::NoFrame);
        line->setStyleSheet(QStringLiteral("background: %1").arg(QLatin1String(l.colour)));
        line->setGeometry(px(120), px(3240) + l.index, px(l.right) - px(120), 1);
    }

    auto* disclaimer = named(new QLabel(kDisclaimer, this), name.disclaimer);
    disclaimer->setFont(verdana(8.25));
    disclaimer->setWordWrap(true);
    disclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(disclaimer, 255, 3480, 3870, 705);

    // The tab bar takes the focus itself: the tab control around it is no control of its own
    // to a screen reader.
    tabs->setFocusPolicy(Qt::NoFocus);
    setTabOrder(ok, tabs->tabBar());
    ok->setFocus();
    loadTexts();
}

void AboutDialog::loadTexts()
{
    const AboutDialogNames& name = aboutDialogNames;
    const std::string appDir = toStd(m_appDir);
    m_language.loadChosen(m_appDir);
    m_language.apply(this);
    findChild<QLabel*>(QLatin1String(name.version))
        ->setText(QStringLiteral("Version %1.%2.%3")
                      .arg(CHIMEWELL_VERSION_MAJOR)
                      .arg(CHIMEWELL_VERSION_MINOR)
                      .arg(CHIMEWELL_VERSION_PATCH));
    findChild<QLabel*>(QLatin1String(name.title))->setText(QStringLiteral("Chimewell"));
    auto* log = findChild<QPlainTextEdit*>(QLatin1String(name.changelog));
    log->setPlainText(readTextFile(toQ(appFile(appDir, kChangelogName))));
    // Screen readers name the change log by its tab.
    log->setAccessibleName(findChild<QTabWidget*>(QLatin1String(name.tabs))->tabText(1).trimmed());
    // A missing or broken picture leaves the picture empty.
    QImageReader reader(toQ(appFile(appDir, kPictureName)));
    const QImage image = reader.read();
    auto* picture = findChild<QLabel*>(QLatin1String(name.picture));
    if (!image.isNull())
        picture->setPixmap(QPixmap::fromImage(image));
    else
        picture->clear();
    // The texts set here are fitted too, in whatever font the system draws them.
    form::fitTexts(this);
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
