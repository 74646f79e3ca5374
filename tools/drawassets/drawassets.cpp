// Draws Chimewell's pictures: the bell icon (ra2.ico, 16x16 and 32x32; chimewell.ico, built
// into the Windows program; and the menu icons of 16 to 256 px), the two status bar bells, and
// the picture of the About dialog. Run by tools/make-assets.sh; the results are committed, so
// a build needs neither this tool's output folder nor a display.

#include <QtCore/QBuffer>
#include <QtCore/QDataStream>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QRadialGradient>
#include <cstdio>

namespace {

enum class Look
{
    Gold,
    Ringing,
    Grey
};

QPainterPath bellOutline(qreal s)
{
    QPainterPath path;
    path.moveTo(0.50 * s, 0.10 * s);
    path.cubicTo(0.30 * s, 0.10 * s, 0.24 * s, 0.28 * s, 0.24 * s, 0.46 * s);
    path.cubicTo(0.24 * s, 0.62 * s, 0.18 * s, 0.70 * s, 0.10 * s, 0.78 * s);
    path.lineTo(0.90 * s, 0.78 * s);
    path.cubicTo(0.82 * s, 0.70 * s, 0.76 * s, 0.62 * s, 0.76 * s, 0.46 * s);
    path.cubicTo(0.76 * s, 0.28 * s, 0.70 * s, 0.10 * s, 0.50 * s, 0.10 * s);
    path.closeSubpath();
    return path;
}

QImage drawBell(int size, Look look)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const bool grey = look == Look::Grey;
    const QColor light = grey ? QColor(0xd8, 0xd8, 0xd8) : QColor(0xff, 0xe0, 0x6a);
    const QColor dark = grey ? QColor(0x80, 0x80, 0x80) : QColor(0xc8, 0x86, 0x10);
    const QColor edge = grey ? QColor(0x55, 0x55, 0x55) : QColor(0x7a, 0x4a, 0x00);

    // clapper below the rim
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    p.drawEllipse(QPointF(0.5 * s, 0.84 * s), 0.09 * s, 0.09 * s);

    QLinearGradient body(0.2 * s, 0, 0.8 * s, 0);
    body.setColorAt(0.0, dark);
    body.setColorAt(0.35, light);
    body.setColorAt(1.0, dark);
    p.setBrush(body);
    p.setPen(QPen(edge, qMax<qreal>(1.0, s / 24.0)));
    p.drawPath(bellOutline(s));
    // the knob on top
    p.drawEllipse(QPointF(0.5 * s, 0.09 * s), 0.06 * s, 0.06 * s);

    if (look == Look::Ringing) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xd0, 0x20, 0x20), qMax<qreal>(1.0, s / 16.0), Qt::SolidLine,
                      Qt::RoundCap));
        p.drawArc(QRectF(-0.02 * s, 0.20 * s, 0.30 * s, 0.40 * s), 120 * 16, 120 * 16);
        p.drawArc(QRectF(0.72 * s, 0.20 * s, 0.30 * s, 0.40 * s), -60 * 16, 120 * 16);
    }
    return image;
}

// An ICO file with 32-bit BMP entries, which every reader (Windows' LoadImage included)
// understands.
QByteArray iconFile(const QList<QImage>& images)
{
    QByteArray out;
    QDataStream ds(&out, QIODevice::WriteOnly);
    ds.setByteOrder(QDataStream::LittleEndian);
    ds << quint16(0) << quint16(1) << quint16(images.size());
    QList<QByteArray> bodies;
    for (const QImage& source : images) {
        const QImage img = source.convertToFormat(QImage::Format_ARGB32);
        const int w = img.width();
        const int h = img.height();
        QByteArray body;
        QDataStream bs(&body, QIODevice::WriteOnly);
        bs.setByteOrder(QDataStream::LittleEndian);
        // BITMAPINFOHEADER: the height counts the colour and the mask rows
        bs << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32) << quint32(0)
           << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) {
                const QRgb c = img.pixel(x, y);
                bs << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(qAlpha(c));
            }
        const int maskStride = ((w + 31) / 32) * 4;
        for (int y = h - 1; y >= 0; --y) {
            QByteArray row(maskStride, 0);
            for (int x = 0; x < w; ++x)
                if (qAlpha(img.pixel(x, y)) < 128)
                    row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            bs.writeRawData(row.constData(), row.size());
        }
        bodies << body;
    }
    quint32 offset = 6 + 16 * images.size();
    for (int i = 0; i < images.size(); ++i) {
        const int w = images[i].width();
        ds << quint8(w >= 256 ? 0 : w) << quint8(w >= 256 ? 0 : w) << quint8(0) << quint8(0)
           << quint16(1) << quint16(32) << quint32(bodies[i].size()) << offset;
        offset += bodies[i].size();
    }
    for (const QByteArray& body : bodies)
        ds.writeRawData(body.constData(), body.size());
    return out;
}

QImage drawTimerPicture()
{
    // 305 x 161 pixels: the Credits tab's picture of a desk clock beside a bell.
    QImage image(305, 161, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 161);
    sky.setColorAt(0, QColor(0x2b, 0x3f, 0x6b));
    sky.setColorAt(1, QColor(0x6f, 0x8f, 0xc8));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(0, 130, 305, 31), QColor(0x5a, 0x3e, 0x2a));

    const QPointF c(110, 75);
    QRadialGradient face(c, 58);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(0xe6, 0xe6, 0xee));
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 6));
    p.setBrush(face);
    p.drawEllipse(c, 55, 55);
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 30);
        p.drawLine(QPointF(0, -46), QPointF(0, i % 3 == 0 ? -38 : -42));
        p.restore();
    }
    p.save();
    p.translate(c);
    p.setPen(QPen(QColor(0x20, 0x20, 0x28), 5, Qt::SolidLine, Qt::RoundCap));
    p.rotate(30 * 7 + 15);
    p.drawLine(QPointF(0, 0), QPointF(0, -28)); // hour hand near seven
    p.rotate(-30 * 7 - 15 + 180);
    p.setPen(QPen(QColor(0x20, 0x20, 0x28), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0, -42)); // minute hand at half past
    p.restore();
    p.setBrush(QColor(0xc0, 0x20, 0x20));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 4, 4);
    // legs
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(75, 118), QPointF(65, 132));
    p.drawLine(QPointF(145, 118), QPointF(155, 132));

    const QImage bell = drawBell(96, Look::Ringing);
    p.drawImage(QPointF(190, 36), bell);
    return image;
}

bool save(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: drawassets ASSETS-FOLDER IMAGES-FOLDER\n");
        return 2;
    }
    const QString assets = QString::fromLocal8Bit(argv[1]);
    const QString images = QString::fromLocal8Bit(argv[2]);
    bool ok =
        save(assets + "/ra2.ico", iconFile({drawBell(16, Look::Gold), drawBell(32, Look::Gold)}));
    ok = drawTimerPicture().save(assets + "/timer.jpg", "JPG", 90) && ok;
    ok = drawBell(16, Look::Ringing).save(images + "/bell-active.png") && ok;
    ok = drawBell(16, Look::Grey).save(images + "/bell-idle.png") && ok;
    // Twice the size for screens scaled by two (Qt picks "@2x" files by itself).
    ok = drawBell(32, Look::Ringing).save(images + "/bell-active@2x.png") && ok;
    ok = drawBell(32, Look::Grey).save(images + "/bell-idle@2x.png") && ok;
    ok = drawBell(32, Look::Gold).save(images + "/bell-32.png") && ok;
    ok = drawBell(64, Look::Gold).save(images + "/bell-64.png") && ok;
    // The Windows program's own icon, built into Chimewell.exe: what Explorer and the task bar
    // show, and the tray icon's stand-in when ra2.ico cannot be read.
    ok =
        save(images + "/chimewell.ico",
             iconFile({drawBell(16, Look::Gold), drawBell(24, Look::Gold), drawBell(32, Look::Gold),
                       drawBell(48, Look::Gold), drawBell(64, Look::Gold)})) &&
        ok;
    // The icon of the applications menu, in the sizes of the hicolor theme.
    QDir(assets).mkpath(QStringLiteral("icons"));
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = drawBell(size, Look::Gold)
                 .save(QStringLiteral("%1/icons/chimewell-%2.png").arg(assets).arg(size)) &&
             ok;
    return ok ? 0 : 1;
}
