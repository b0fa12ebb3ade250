// Long field values to and from files, streamed in chunks.
#include <QFile>
#include <QSaveFile>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "tablescroller.h"
#include "tablewriter.h"

namespace {

[[noreturn]] void RaiseFile(const char* id, const QString& fileName, const QString& reason) {
    throw EDatabaseError(LString(QLatin1String(id)).arg(fileName, reason));
}

}  // namespace

void TTableWriter::LoadFieldFromFile(const QList<TQXVariant>& key, int field,
                                     const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        RaiseFile("M_Pelvar_TblDatas_FileReadError", fileName, file.errorString());
    TDatabase& db = FScroller.Database();
    const TDicFieldDescription& f = FScroller.Fields().at(field);
    TExecQuery q(db, QStringLiteral("UPDATE %1 SET %2 = :V WHERE %3")
                         .arg(db.Dialect().Ident(FScroller.TableName()), db.Dialect().Ident(f.Name),
                              FScroller.KeyCondition()));
    const qint64 size = file.size();
    q.ParamByName(QStringLiteral("V"))
        .SetStream(
            [&file, &fileName](char* buffer, qint64 length) {
                const qint64 got = length > 0 ? file.read(buffer, length) : 0;
                if (got < 0 || (got == 0 && length > 0))
                    RaiseFile("M_Pelvar_TblDatas_FileReadError", fileName,
                              got < 0 ? file.errorString()
                                      : LString(QStringLiteral("M_Pelvar_TblDatas_FileShrank")));
                return got;
            },
            size, f.DataType != dtMemo);
    FScroller.BindKey(q, key);
    if (q.Execute() == 0) RaiseNotFound();
}

void TTableWriter::SaveFieldToFile(const QList<TQXVariant>& key, int field,
                                   const QString& fileName) {
    TDatabase& db = FScroller.Database();
    const TDicFieldDescription& f = FScroller.Fields().at(field);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        RaiseFile("M_Pelvar_TblDatas_FileWriteError", fileName, file.errorString());
    TLongValueQuery q(
        db, QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                .arg(db.Dialect().Ident(f.Name), db.Dialect().Ident(FScroller.TableName()),
                     FScroller.KeyCondition()));
    FScroller.BindKey(q, key);
    bool isNull = false;
    // On any failure the QSaveFile is dropped uncommitted: the target stays as it was.
    const bool found = q.ReadInto(
        f.DataType != dtMemo,
        [&](const char* data, qint64 size) {
            if (file.write(data, size) != size)
                RaiseFile("M_Pelvar_TblDatas_FileWriteError", fileName, file.errorString());
        },
        isNull);
    if (!found) RaiseNotFound();
    if (!file.commit()) RaiseFile("M_Pelvar_TblDatas_FileWriteError", fileName, file.errorString());
}
