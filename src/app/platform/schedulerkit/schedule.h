#pragma once

#include <QList>
#include <QStringList>

#include "appcore/dsptree.h"

// A scheduler entry structure (type 16): the commands it runs and when.
// Body: root (the entry's name), "Entries": one node per command with
//   "Command", "Kind", "Start", "Time", "Days", "Interval", "Enabled"
// Kinds and the fields each one needs:
//   "Once"     Start, a date and time "yyyy-MM-dd hh:mm"
//   "Daily"    Time "hh:mm"
//   "Weekly"   Time and Days, weekdays 1 (Monday) to 7 joined by ","
//   "Monthly"  Time and Days, days of the month 1 to 31 joined by ","
//   "Interval" Interval, minutes from 1 to 10080 (a week)
struct TScheduleEntry {
    QString Name;
    QString Command;
    QString Kind = QStringLiteral("Daily");
    QString Start;
    QString Time;
    QString Days;
    int Interval = 0;
    bool Enabled = true;
};

const QStringList& ScheduleKinds();
// Raises EDSPError naming the structure when the tree is not a schedule body.
QList<TScheduleEntry> ScheduleFromNode(const TDSPNode& root, const QString& name);
// Unnamed or repeated entries, entries without a command, and timings that
// cannot happen (an hour 25, the 30th of February, a weekday 8, no interval).
QStringList ScheduleProblems(const QList<TScheduleEntry>& entries);
TDSPNode ScheduleToNode(const QList<TScheduleEntry>& entries, const QString& name);
