#include "findlresworker.h"

#include <QMetaObject>

#include "appcore/database.h"
#include "basekit/errors.h"
#include "basekit/threadname.h"

TFindLResThread::TFindLResThread(TConnectionInfo connection, TLResSearchRequest request,
                                 QObject* receiver, THandlers handlers)
    : FConnection(std::move(connection)),
      FRequest(std::move(request)),
      FReceiver(receiver),
      FHandlers(std::move(handlers)) {
    setObjectName(QStringLiteral("FindLResThread"));
}

TFindLResThread::~TFindLResThread() {
    FStop = true;
    wait();
}

void TFindLResThread::Post(std::function<void()> call) {
    QObject* receiver = FReceiver.data();
    if (!receiver) return;
    QMetaObject::invokeMethod(receiver, std::move(call), Qt::QueuedConnection);
}

void TFindLResThread::run() {
    SetCurrentThreadName(QStringLiteral("FindLResThread"));
    try {
        std::unique_ptr<TDatabase> db = OpenOwnConnection(FConnection);
        TLResSearchEvents events;
        events.Stopped = [this] { return FStop.load(); };
        events.Status = [this](const QString& text) {
            Post([h = FHandlers.Status, text] { h(text); });
        };
        events.Batch = [this](TLResBatch&& batch) {
            Post([h = FHandlers.Batch, b = std::move(batch)]() mutable { h(b); });
        };
        RunLResSearch(*db, FRequest, events);
    } catch (const std::exception& e) {
        const QString text = QStringLiteral("Error on execution of FindLResThread; %1:%2")
                                 .arg(ExceptionClassName(e), ExceptionMessage(e));
        Post([h = FHandlers.Failed, text] { h(text); });
    }
}
