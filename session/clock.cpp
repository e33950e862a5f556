#include "clock.h"

#include <QString>

ClockTime countDown(ClockTime left) {
    if (--left.seconds == -1) {
        left.seconds = 59;
        if (--left.minutes == -1) {
            left.minutes = 59;
            --left.hours;
        }
    }
    return left;
}

ClockTime countUp(ClockTime used) {
    if (++used.seconds == 60) {
        used.seconds = 0;
        if (++used.minutes == 60) {
            used.minutes = 0;
            ++used.hours;
        }
    }
    return used;
}

bool inLastMinute(ClockTime left) {
    return left.hours == 0 && left.minutes == 0 && left.seconds <= 59;
}

bool timeIsUp(ClockTime left) {
    // A clock gone below zero has run out as well; it must never tick on.
    return left.hours < 0 || (left.hours == 0 && left.minutes == 0 && left.seconds <= 0);
}

QString clockText(ClockTime t) {
    return QStringLiteral("%1:%2:%3").arg(t.hours).arg(t.minutes).arg(t.seconds);
}

bool isTimedRun(bool timeSettingOn, ClockTime limit, bool tutorRun) {
    return timeSettingOn && !tutorRun && !(limit == ClockTime{});
}
