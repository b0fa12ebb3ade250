#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QThread;
class TDatabase;

// Counts rows on a worker thread with a connection of its own (a connection
// belongs to one thread), so a long count never holds up the window; the
// result arrives on the owner's thread through a queued call.
class TRowCounter : public QObject {
    Q_OBJECT
  public:
    explicit TRowCounter(QObject* parent = nullptr);
    // Waits for a count still running: the worker's connection ends with it.
    ~TRowCounter() override;

    // Runs `sql` (one row, one integer) on a new connection to the database's
    // data source with its login. A count still running is waited for first.
    void Start(const TDatabase& db, const QString& sql);
    bool Running() const;

  signals:
    void Counted(qint64 rows);
    void Failed(const QString& message);

  private:
    void Wait();
    std::unique_ptr<QThread> FThread;
};
