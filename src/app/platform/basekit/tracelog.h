#pragma once

#include <QFile>
#include <QMutex>
#include <QString>

// The trace log: routines write their own names to it while tracing is on.
// The program creates it switched off; PELVAR_TRACE=1 in the environment
// switches it on for a diagnostic run.
class TTraceLog {
  public:
    explicit TTraceLog(const QString& fileName);
    ~TTraceLog();
    TTraceLog(const TTraceLog&) = delete;
    TTraceLog& operator=(const TTraceLog&) = delete;

    void SetTracing(bool on);
    bool Tracing() const { return FTracing || FForced; }
    void Trace(const QString& routine);
    QString FileName() const { return FFile.fileName(); }

    // The log that PELVAR_TRACE writes to: the most recently created one.
    static TTraceLog* Current();

  private:
    QFile FFile;
    QMutex FLock;
    bool FTracing = false;
    bool FForced = false;
};

#define PELVAR_TRACE(routine)                               \
    do {                                                    \
        if (TTraceLog* pelvarTrace_ = TTraceLog::Current(); \
            pelvarTrace_ && pelvarTrace_->Tracing())        \
            pelvarTrace_->Trace(QStringLiteral(routine));   \
    } while (0)
