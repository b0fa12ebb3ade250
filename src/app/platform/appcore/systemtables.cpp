#include "systemtables.h"

#include "basekit/datatypes.h"
#include "dbmanager.h"
#include "dictionary.h"
#include "dsptable.h"
#include "localizator.h"
#include "platform.h"

QList<TDicTableDescription> SystemTableDefinitions(bool workAs17Version,
                                                   const QString& logTableName) {
    QList<TDicTableDescription> tables;

    TDicTableDescription dsp;
    dsp.Name = QStringLiteral("QXMAIL_DSP");
    dsp.AddField(QStringLiteral("OBJECT_TYPE"), dtSmallint, 2);
    dsp.AddField(QStringLiteral("OBJECT_NAME"), dtString, 51);
    dsp.AddField(QStringLiteral("INFO"), dtBlob, 0);
    dsp.AddField(QStringLiteral("TABLE_NAME"), dtString, 51);
    dsp.AddField(QStringLiteral("PARENT_OBJECT"), dtString, 51);
    dsp.AddField(QStringLiteral("REMARK"), dtString, 251);
    dsp.AddField(QStringLiteral("LASTCHANGE"), dtDateTime, 8);
    dsp.AddIndex(QStringLiteral("QXMAIL_DSP_INDEX1"),
                 {QStringLiteral("OBJECT_NAME"), QStringLiteral("OBJECT_TYPE")}, true, true);
    tables << dsp;

    TDicTableDescription cfg;
    cfg.Name = QStringLiteral("QX_CFG");
    cfg.AddField(QStringLiteral("ID"), dtString, 40, QStringLiteral("GUID записи"));
    cfg.AddField(QStringLiteral("OBJECT_TYPE"), dtInteger, 4, QStringLiteral("Тип структуры (14)"));
    cfg.AddField(QStringLiteral("OBJECT_NAME"), dtString, 51, QStringLiteral("Имя структуры"));
    cfg.AddField(QStringLiteral("PARAM_HASH"), dtString, 64,
                 QStringLiteral("SHA1 хэш полного пути к настройке"));
    cfg.AddField(QStringLiteral("PARAM_PATH"), dtString, 255,
                 QStringLiteral("полный путь к настройке"));
    cfg.AddField(QStringLiteral("PARAM_TYPE"), dtInteger, 4,
                 QStringLiteral("Тип параметра: строка, целое число, логическое, дробное число, "
                                "бинарные данные, дата и время."));
    cfg.AddField(QStringLiteral("VALUE_STR"), dtMemo, 0,
                 QStringLiteral("Строковое значение параметра"));
    cfg.AddField(QStringLiteral("VALUE_INT"), dtInteger, 4,
                 QStringLiteral("Целочисленное/логическое(0,1) значение параметра"));
    cfg.AddField(QStringLiteral("VALUE_DBL"), dtFloat, 8,
                 QStringLiteral("Числовое (дробное) значение параметра"));
    cfg.AddField(QStringLiteral("VALUE_BIN"), dtBlob, 0,
                 QStringLiteral("Бинарное значение параметра"));
    cfg.AddField(QStringLiteral("VALUE_DAT"), dtDateTime, 8,
                 QStringLiteral("Значение параметра для даты и времени"));
    cfg.AddIndex(QStringLiteral("QX_CFG_INDEX1"), {QStringLiteral("ID")}, true, true);
    cfg.AddIndex(QStringLiteral("QX_CFG_INDEX2"),
                 {QStringLiteral("OBJECT_TYPE"), QStringLiteral("OBJECT_NAME"),
                  QStringLiteral("PARAM_HASH")},
                 false, false);
    tables << cfg;

    TDicTableDescription log;
    log.Name = logTableName;
    log.AddField(QStringLiteral("EVENTTIME"), dtDateTime, 4);
    log.AddField(QStringLiteral("MODULEID"), dtString, 40);
    log.AddField(QStringLiteral("SESSIONNAME"), dtString, 40);
    log.AddField(QStringLiteral("DATABASENAME"), dtString, 40);
    log.AddField(QStringLiteral("MESSAGESTRING"), dtMemo, 1024);
    log.AddField(QStringLiteral("DETAILSTRING"), dtMemo, 1024);
    log.AddIndex(logTableName + QStringLiteral("_INDEX1"), {QStringLiteral("EVENTTIME")});
    log.AddIndex(logTableName + QStringLiteral("_INDEX2"),
                 {QStringLiteral("MODULEID"), QStringLiteral("EVENTTIME")});
    tables << log;

    TDicTableDescription lang;
    lang.Name = QStringLiteral("LANGUAGES");
    lang.AddField(QStringLiteral("LANGUAGEID"), dtString, 16);
    lang.AddField(QStringLiteral("RUSSIANNAME"), dtString, 40);
    lang.AddField(QStringLiteral("ENGLISHNAME"), dtString, 40);
    lang.AddField(QStringLiteral("NATIVENAME"), dtString, 40);
    lang.AddField(QStringLiteral("FONTCHARSET"), dtSmallint, 2);
    lang.AddField(QStringLiteral("FONTCOLOR"), dtInteger, 4);
    lang.AddField(QStringLiteral("FONTNAME"), dtString, 80);
    lang.AddField(QStringLiteral("FONTPITCH"), dtSmallint, 2);
    lang.AddField(QStringLiteral("FONTSIZE"), dtInteger, 4);
    lang.AddField(QStringLiteral("FONTSTYLE"), dtInteger, 4);
    lang.AddIndex(QStringLiteral("LANGUAGES_INDEX1"), {QStringLiteral("LANGUAGEID")}, true, true);
    tables << lang;

    TDicTableDescription text;
    text.Name = QStringLiteral("TEXT_RESOURCES");
    text.AddField(QStringLiteral("STRINGID"), dtString, 64);
    text.AddField(QStringLiteral("LANGUAGEID"), dtString, 16);
    text.AddField(QStringLiteral("TEXT"), dtBlob, 0);
    text.AddField(QStringLiteral("LASTCHANGE"), dtDateTime, 0);
    text.AddIndex(QStringLiteral("TEXT_RESOURCES_INDEX1"),
                  {QStringLiteral("LANGUAGEID"), QStringLiteral("STRINGID")}, true, true);
    text.AddIndex(QStringLiteral("TEXT_RESOURCES_INDEX2"),
                  {QStringLiteral("STRINGID"), QStringLiteral("LANGUAGEID")}, true, false);
    tables << text;

    if (!workAs17Version) {
        TDicTableDescription legacy;
        legacy.Name = QStringLiteral("USER_LEGACY");
        legacy.AddField(QStringLiteral("USER_NAME"), dtString, 51);
        legacy.AddField(QStringLiteral("INFO"), dtBlob, 0);
        legacy.AddIndex(QStringLiteral("USER_LEGACY_INDEX1"), {QStringLiteral("USER_NAME")}, true,
                        true);
        tables << legacy;
    }
    return tables;
}

QStringList CreateMissingSystemTables(const QString& alias) {
    TApplicationManager& mng = BaseMng();
    TDictionary dictionary(mng.Databases().ResolveAlias(alias));
    QStringList created;
    for (const auto& table : SystemTableDefinitions(Configuration().WorkAs17Version(),
                                                    Configuration().LogTableName())) {
        if (mng.TableExists(table.Name, alias)) continue;
        dictionary.CreateTableByDef(table, QString(), true);
        created << table.Name;
        if (table.Name == QLatin1String("LANGUAGES"))
            for (const auto& [id, language] : StandardLanguages())
                GetLanguagesTable(alias).SetLanguage(id, language);
    }
    GetLocalizatorTable(alias).Refresh();
    GetLanguagesTable(alias).Refresh();
    GetDSPTable(alias).Refresh();
    return created;
}
