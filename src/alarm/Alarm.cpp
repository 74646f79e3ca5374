#include "Alarm.h"

#include "lang/Texts.h"

namespace chimewell {

QString alarmMessage(const Alarm& alarm)
{
    const QString reason = alarm.reason.size() > kReasonShownLimit
                               ? alarm.reason.left(kReasonShownLimit - 1) + QChar(0x2026)
                               : alarm.reason;
    return translated(texts::alarm, {alarm.time, reason});
}

} // namespace chimewell
