#pragma once

#include <QString>
#include <QStringList>

#include "basekit/interaction.h"

// What a running operation may tell its caller and ask of it.
class TOperationContext {
  public:
    // Without a sink (no progress window) reports go nowhere and nothing
    // cancels; errors are still collected.
    explicit TOperationContext(TProgressSink* sink = nullptr) : FSink(sink) {}

    void Status(const QString& text);
    void Progress(qint64 position, qint64 maximum);
    // Raises EAbortError once the user asked to cancel. Call it between steps:
    // it also keeps the progress window responsive.
    void CheckCancel();
    // A failure the operation gets over: recorded, shown, and the work goes on.
    void Error(const QString& text);
    const QStringList& Errors() const { return FErrors; }

  private:
    TProgressSink* FSink;
    QStringList FErrors;
};

struct TOperationResult {
    bool Completed = false;  // Execute returned normally (errors may have been reported)
    bool Cancelled = false;  // the user stopped it
    QStringList Errors;
};

// A long dictionary operation. The caller fills the properties, runs it with
// ExecuteUtilOperation and frees it.
class TUtilOperation {
  public:
    virtual ~TUtilOperation() = default;
    virtual void Execute(TOperationContext& context) = 0;

    const QString& SourceAlias() const { return FSourceAlias; }
    void SetSourceAlias(const QString& alias) { FSourceAlias = alias; }
    const QString& TargetAlias() const { return FTargetAlias; }
    void SetTargetAlias(const QString& alias) { FTargetAlias = alias; }
    const QStringList& ObjectNames() const { return FObjectNames; }
    void SetObjectNames(const QStringList& names) { FObjectNames = names; }
    bool WriteFlag() const { return FWriteFlag; }
    void SetWriteFlag(bool value) { FWriteFlag = value; }
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& name) { FFileName = name; }

    // The errors of the last run, the one that ended it last.
    const QStringList& Errors() const { return FErrors; }

  private:
    friend TOperationResult ExecuteUtilOperation(TUtilOperation&, const QString&);
    QString FSourceAlias;
    QString FTargetAlias;
    QStringList FObjectNames;
    bool FWriteFlag = false;
    QString FFileName;
    QStringList FErrors;
};

// Runs the operation on the calling thread under a progress window captioned
// `caption` (none when the caption is empty). Every exception is caught: a
// cancel ends the run as cancelled, anything else is reported in the window
// and returned. The window is always finished.
TOperationResult ExecuteUtilOperation(TUtilOperation& operation, const QString& caption);
