// Runs the program's real second ticker for a while and prints how far after each boundary of
// the wall clock's seconds the ticks land, and how many seconds passed without a tick.
//   tickoffsets [SECONDS]     (default 60)

#include "alarm/SecondTicker.h"
#include "platform/QtClock.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QSet>
#include <QtCore/QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    chimewell::QtClock clock;
    chimewell::SecondTicker ticker(clock);
    std::vector<int> offsets;
    QSet<qint64> ticked;
    const qint64 first = QDateTime::currentSecsSinceEpoch() + 1;
    const qint64 last = first + seconds - 1;
    QObject::connect(&ticker, &chimewell::SecondTicker::tick, [&] {
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 s = now.toSecsSinceEpoch();
        if (s < first || s > last)
            return;
        offsets.push_back(now.time().msec());
        ticked.insert(s);
    });
    ticker.start();
    QTimer::singleShot((seconds + 2) * 1000, &app, &QCoreApplication::quit);
    app.exec();

    std::sort(offsets.begin(), offsets.end());
    int missed = 0;
    for (qint64 s = first; s <= last; ++s)
        missed += ticked.contains(s) ? 0 : 1;
    if (offsets.empty()) {
        std::printf("no ticks\n");
        return 1;
    }
    std::printf("seconds observed        %d\n", seconds);
    std::printf("ticks                   %zu\n", offsets.size());
    std::printf("seconds without a tick  %d\n", missed);
    std::printf("offset after boundary   min %d ms, median %d ms, max %d ms\n", offsets.front(),
                offsets[offsets.size() / 2], offsets.back());
    return 0;
}
