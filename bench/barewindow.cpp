// The yardstick for start time and memory: a bare Qt 6 window with a tray icon, nothing else.

#include <QtGui/QIcon>
#include <QtGui/QPixmap>
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
    window.show();
    return app.exec();
}
