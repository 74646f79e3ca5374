// The yardstick for start time and memory: a bare Qt 6 window with a tray icon, nothing else;
// with --multimedia also a media player and its audio output, made at start.

#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtMultimedia/QAudioOutput>
#include <QtMultimedia/QMediaPlayer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QSystemTrayIcon>
#include <QtWidgets/QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(312, 537);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkYellow);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.setToolTip(QStringLiteral("Bare"));
    tray.show();
    QAudioOutput* output = nullptr;
    if (app.arguments().contains(QStringLiteral("--multimedia"))) {
        output = new QAudioOutput(&app);
        (new QMediaPlayer(&app))->setAudioOutput(output);
    }
    window.show();
    return app.exec();
}
