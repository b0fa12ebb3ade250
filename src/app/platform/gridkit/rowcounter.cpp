#include "rowcounter.h"

#include <QThread>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"

TRowCounter::TRowCounter(QObject* parent) : QObject(parent) {}

TRowCounter::~TRowCounter() {
    Wait();
}

void TRowCounter::Wait() {
    if (FThread) FThread->wait();
    FThread.reset();
}

bool TRowCounter::Running() const {
    return FThread && FThread->isRunning();
}

void TRowCounter::Start(const TDatabase& db, const QString& sql) {
    Wait();
    const QString alias = db.Alias();
    const QString source = db.DataSource();
    const TLoginParams login = BaseMng().Databases().LoginParamsOf(alias);
    FThread.reset(QThread::create([this, alias, source, login, sql] {
        qint64 rows = 0;
        QString error;
        try {
            TDatabase own(alias, source);
            own.Connect(login.User, login.Password);
            TSelectQuery q(own, sql);
            q.Open();
            if (!q.Eof()) rows = q.Fields().GetFields(0).AsInteger();
        } catch (const EPelvarError& e) {
            error = e.Message();
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        // Delivered on this object's thread; dropped with the object.
        QMetaObject::invokeMethod(
            this,
            [this, rows, error] {
                if (error.isEmpty())
                    emit Counted(rows);
                else
                    emit Failed(error);
            },
            Qt::QueuedConnection);
    }));
    FThread->setObjectName(QStringLiteral("RowCounter"));
    FThread->start(QThread::LowPriority);
}
