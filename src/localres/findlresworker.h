#pragma once

#include <QPointer>
#include <QThread>
#include <atomic>
#include <functional>

#include "opkit/lressearch.h"

// The worker of one search window: it opens a connection of its own and
// hands status texts, batches and its failure to the window's thread
// through queued calls, so it never touches the window's connection or widgets.
class TFindLResThread : public QThread {
    Q_OBJECT
  public:
    struct THandlers {
        std::function<void(const QString&)> Status;
        std::function<void(TLResBatch&)> Batch;
        std::function<void(const QString&)> Failed;
    };
    // `receiver` lives on the thread that handles the calls; a call that
    // arrives after it is gone is dropped.
    TFindLResThread(TConnectionInfo connection, TLResSearchRequest request, QObject* receiver,
                    THandlers handlers);
    ~TFindLResThread() override;
    // Read between rows; the worker ends after the row in hand.
    void RequestStop() { FStop = true; }
    bool StopRequested() const { return FStop; }

  protected:
    void run() override;

  private:
    void Post(std::function<void()> call);
    TConnectionInfo FConnection;
    TLResSearchRequest FRequest;
    QPointer<QObject> FReceiver;
    THandlers FHandlers;
    std::atomic<bool> FStop{false};
};
