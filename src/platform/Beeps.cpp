#include "Beeps.h"

#include <QtCore/QDataStream>
#include <QtCore/QIODevice>
#include <QtCore/QtMath>

namespace chimewell {

QByteArray beepSamples(int rate)
{
    const int total = rate * kBeepSeconds;
    QByteArray bytes(total * 2, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(bytes.data());
    for (int i = 0; i < total; ++i) {
        const bool on = i % (rate / 2) < rate / 4;
        out[i] = on ? qint16(12000 * qSin(2 * M_PI * 880 * i / rate)) : 0;
    }
    return bytes;
}

QByteArray waveFile(const QByteArray& samples, int rate)
{
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    // PCM, one channel, 16 bits.
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), samples.size());
    return file;
}

} // namespace chimewell
