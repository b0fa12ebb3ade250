#include "utiloperation.h"

#include <memory>

#include "basekit/errors.h"

void TOperationContext::Status(const QString& text) {
    if (FSink) FSink->SetStatus(text);
}

void TOperationContext::Progress(qint64 position, qint64 maximum) {
    if (FSink) FSink->SetProgress(position, maximum);
}

void TOperationContext::CheckCancel() {
    if (FSink && FSink->CancelRequested()) throw EAbortError(QStringLiteral("Operation cancelled"));
}

void TOperationContext::Error(const QString& text) {
    FErrors << text;
    if (FSink) FSink->ReportError(text);
}

TOperationResult ExecuteUtilOperation(TUtilOperation& operation, const QString& caption) {
    std::unique_ptr<TProgressSink> sink;
    if (!caption.isEmpty()) sink = Interaction().BeginProgress(caption);
    TOperationContext context(sink.get());
    TOperationResult result;
    try {
        operation.Execute(context);
        result.Completed = true;
    } catch (const EAbortError&) {
        result.Cancelled = true;
    } catch (const std::exception& e) {
        context.Error(ExceptionMessage(e));
    } catch (...) {
        context.Error(QStringLiteral("Unknown error"));
    }
    result.Errors = context.Errors();
    operation.FErrors = result.Errors;
    if (sink) sink->Finish();
    return result;
}
