#include "schedule.h"

#include <QDateTime>

#include "designkit/bodyrules.h"

namespace {

// Days joined by ",", each within [low, high]; false for none or any other.
bool DaysWithin(const QString& days, int low, int high) {
    const QStringList parts = days.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty()) return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int day = part.trimmed().toInt(&ok);
        if (!ok || day < low || day > high) return false;
    }
    return true;
}

bool ValidTime(const QString& time) {
    return QTime::fromString(time, QStringLiteral("hh:mm")).isValid();
}

QString Timing(const TScheduleEntry& e) {
    const QString& k = e.Kind;
    if (k == QLatin1String("Once"))
        return QDateTime::fromString(e.Start, QStringLiteral("yyyy-MM-dd hh:mm")).isValid()
                   ? QString()
                   : QStringLiteral(
                         "runs once at \"%1\", which is no date and time "
                         "(yyyy-MM-dd hh:mm)")
                         .arg(e.Start);
    if (k == QLatin1String("Interval"))
        return e.Interval >= 1 && e.Interval <= 10080
                   ? QString()
                   : QStringLiteral("runs every %1 minutes; 1 to 10080 are possible")
                         .arg(e.Interval);
    if (!ScheduleKinds().contains(k)) return QStringLiteral("has the unknown kind \"%1\"").arg(k);
    if (!ValidTime(e.Time))
        return QStringLiteral("runs at \"%1\", which is no time (hh:mm)").arg(e.Time);
    if (k == QLatin1String("Weekly") && !DaysWithin(e.Days, 1, 7))
        return QStringLiteral("runs on weekdays \"%1\"; 1 (Monday) to 7 are possible").arg(e.Days);
    if (k == QLatin1String("Monthly") && !DaysWithin(e.Days, 1, 31))
        return QStringLiteral("runs on days \"%1\"; 1 to 31 are possible").arg(e.Days);
    return QString();
}

}  // namespace

const QStringList& ScheduleKinds() {
    static const QStringList kinds = {QStringLiteral("Once"), QStringLiteral("Daily"),
                                      QStringLiteral("Weekly"), QStringLiteral("Monthly"),
                                      QStringLiteral("Interval")};
    return kinds;
}

QList<TScheduleEntry> ScheduleFromNode(const TDSPNode& root, const QString& name) {
    QList<TScheduleEntry> entries;
    const TDSPNode* list = root.FindNode(QStringLiteral("Entries"));
    if (!list) return entries;
    for (int i = 0; i < list->NodeCount(); ++i) {
        const TDSPNode& n = list->Node(i);
        TScheduleEntry e;
        e.Name = n.Name();
        e.Command = n.Property(QStringLiteral("Command")).toString();
        e.Kind = n.Property(QStringLiteral("Kind"), e.Kind).toString();
        e.Start = n.Property(QStringLiteral("Start")).toString();
        e.Time = n.Property(QStringLiteral("Time")).toString();
        e.Days = n.Property(QStringLiteral("Days")).toString();
        bool ok = true;
        e.Interval = n.Property(QStringLiteral("Interval"), 0).toInt(&ok);
        if (!ok)
            throw EDSPError(
                QStringLiteral("The scheduler entry %1: the interval of %2 is no number.")
                    .arg(name, e.Name));
        e.Enabled = n.Property(QStringLiteral("Enabled"), true).toBool();
        entries << e;
    }
    return entries;
}

QStringList ScheduleProblems(const QList<TScheduleEntry>& entries) {
    QStringList problems, names;
    for (const TScheduleEntry& e : entries) {
        names << e.Name;
        if (e.Command.trimmed().isEmpty())
            problems << QStringLiteral("%1 runs no command.").arg(e.Name);
        if (const QString why = Timing(e); !why.isEmpty())
            problems << QStringLiteral("%1 %2.").arg(e.Name, why);
    }
    CheckRecordNames(names, QStringLiteral("command"), problems);
    return problems;
}

TDSPNode ScheduleToNode(const QList<TScheduleEntry>& entries, const QString& name) {
    RaiseProblems(QStringLiteral("The scheduler entry %1").arg(name), ScheduleProblems(entries));
    TDSPNode root(name);
    TDSPNode& list = root.AddNode(QStringLiteral("Entries"));
    for (const TScheduleEntry& e : entries) {
        TDSPNode& n = list.AddNode(e.Name);
        n.SetProperty(QStringLiteral("Command"), e.Command);
        n.SetProperty(QStringLiteral("Kind"), e.Kind);
        n.SetProperty(QStringLiteral("Start"), e.Start);
        n.SetProperty(QStringLiteral("Time"), e.Time);
        n.SetProperty(QStringLiteral("Days"), e.Days);
        n.SetProperty(QStringLiteral("Interval"), qlonglong(e.Interval));
        n.SetProperty(QStringLiteral("Enabled"), e.Enabled);
    }
    return root;
}
