#pragma once

class QString;

// A reading of one of the session clocks.
struct ClockTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// One second off the remaining time: a second below 0 borrows a minute, a
// minute below 0 borrows an hour.
ClockTime countDown(ClockTime left);

// One second more of the time used: 60 seconds make a minute, 60 minutes an
// hour.
ClockTime countUp(ClockTime used);

// The clock turns red for the last minute of every timed run.
bool inLastMinute(ClockTime left);

// Nothing is left: the run ends as on "Приключих".
bool timeIsUp(ClockTime left);

// Hours, minutes and seconds in decimal without leading zeros: "0:39:59".
QString clockText(ClockTime t);

// Whether a run counts down: the time setting is on with some time in it,
// and it is not a tutor run (those are never timed).
bool isTimedRun(bool timeSettingOn, ClockTime limit, bool tutorRun);
