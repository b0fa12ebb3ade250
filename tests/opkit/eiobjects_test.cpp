#include <QDateTime>
#include <QTimeZone>
#include <bit>

#include "eitestutil.h"
#include "opkit/eiobjects.h"

namespace {

class EIObjects : public testing::TestWithParam<std::tuple<TEIEncoding, bool>> {
  protected:
    void SetUp() override {
        FName = FDir.filePath("objects.eif");
        FFile.SetFileName(FName);
        FFile.Create(std::get<0>(GetParam()), std::get<1>(GetParam()));
    }
    // Reopens the file in a fresh object and loads the section.
    template <class T>
    std::unique_ptr<T> Reload(int index) {
        FReader = std::make_unique<TEIFile>(FName);
        FReader->Open();
        std::unique_ptr<TEIObject> object = FReader->CreateEIObject(index);
        EXPECT_EQ(object->SectionClass(), FReader->Sections().GetSections(index)->ClassName());
        auto* typed = dynamic_cast<T*>(object.get());
        EXPECT_NE(typed, nullptr);
        if (!typed) return nullptr;
        object.release();
        return std::unique_ptr<T>(typed);
    }
    QTemporaryDir FDir;
    QString FName;
    TEIFile FFile;
    std::unique_ptr<TEIFile> FReader;
};

QByteArray Binary() {
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.append(char(i * 7 % 256));
    return bytes;
}

}  // namespace

TEST_P(EIObjects, DSPStructures) {
    const QList<TDSPListItem> items = {
        {"КЛИЕНТЫ", 10, "CLIENTS", "BASE", "remark with = and\nnew line",
         TQXVariant(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 123)))},
        {"V", 16, "", "", "", TQXVariant()},
        {"U", 21, "", "", "",
         TQXVariant(QDateTime(QDate(2020, 1, 1), QTime(1, 2, 3), QTimeZone::utc()))},
    };
    for (const TDSPListItem& item : items) {
        TEIDSPStructure structure;
        structure.Item() = item;
        if (item.ObjectType == 10) structure.SetBody(Binary());
        FFile.AddObject(structure);
    }
    EXPECT_EQ(FFile.Sections().GetSections(0)->Name(), "10:КЛИЕНТЫ");
    EXPECT_EQ(FFile.Sections().GetSections(0)->Parameters().GetValues("lastchange"),
              "2024-02-29T23:59:58.123");
    for (int index = 0; index < 3; ++index) {
        auto loaded = Reload<TEIDSPStructure>(index);
        ASSERT_TRUE(loaded);
        const TDSPListItem &a = loaded->Item(), &b = items[index];
        EXPECT_EQ(std::tie(a.Name, a.ObjectType, a.TableName, a.ParentName, a.Remark),
                  std::tie(b.Name, b.ObjectType, b.TableName, b.ParentName, b.Remark));
        EXPECT_EQ(a.LastChange, b.LastChange);
        EXPECT_EQ(loaded->Body(), index == 0 ? Binary() : QByteArray());
    }
}

TEST_P(EIObjects, BodiesOfEveryLengthWriteStandardBase64Lines) {
    // Every padding case, a body ending exactly at a line's end and one just past it.
    const QList<int> sizes = {1, 2, 3, 4, 56, 57, 58, 114, 1000};
    for (int size : sizes) {
        TEIDSPStructure structure;
        structure.Item().Name = QString::number(size);
        structure.Item().ObjectType = 10;
        structure.SetBody(Binary().left(size));
        FFile.AddObject(structure);
    }
    QFile file(FName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (int index = 0; index < sizes.size(); ++index) {
        auto loaded = Reload<TEIDSPStructure>(index);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->Body(), Binary().left(sizes[index])) << sizes[index];
        // What any base64 reader expects: 76 characters a line, "=" padding.
        const QByteArray base64 = Binary().left(sizes[index]).toBase64();
        QByteArray lines;
        for (qsizetype at = 0; at < base64.size(); at += 76)
            lines += ">" + base64.mid(at, 76) + "\n";
        EXPECT_TRUE(text.contains(lines)) << sizes[index];
    }
}

TEST_P(EIObjects, ResourcesLanguagesQueriesAndUnknownSections) {
    TEILResource res;
    res.SetSectionID("K_CLIENTS");
    res.AddText("ENGLISH", "NAME", "Client \"name\"\nsecond line\\");
    res.AddText("RUSSIAN", "NAME", "Имя клиента");
    res.AddText("RUSSIAN", "", "");
    TEILanguage lang;
    lang.SetLanguageID("RUSSIAN");
    lang.Language() = {"Русский", "Russian", "Русский", {"Tahoma", 204, 12, 5, 0xFF00, 2}};
    TEIQueryData query;
    query.SetTableName("q.eif - Query data");
    query.Lines() = {"[PARAMETRS]", "", "<1|'a|b'>", "tab\there", "cr\rlf\n"};
    FFile.AddObject(res);
    FFile.AddObject(lang);
    FFile.AddObject(query);
    FFile.BeginSection("TSomethingNew", "odd=name", {}).Commit();

    auto r = Reload<TEILResource>(0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->SectionID(), "K_CLIENTS");
    EXPECT_EQ(r->Texts(), res.Texts());
    EXPECT_EQ(FReader->Sections().GetSections(0)->Name(), "K_CLIENTS");
    auto l = Reload<TEILanguage>(1);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->LanguageID(), "RUSSIAN");
    EXPECT_EQ(l->Language(), lang.Language());
    auto q = Reload<TEIQueryData>(2);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->TableName(), query.TableName());
    EXPECT_EQ(q->Lines(), query.Lines());

    // A class nobody knows survives a copy into another file unchanged.
    auto u = Reload<TEIUnknownObject>(3);
    ASSERT_TRUE(u);
    EXPECT_EQ(u->SectionClass(), "TSomethingNew");
    u->Parameters().SetValues("x", "y");
    u->Lines() << "kept";
    TEIFile copy(FDir.filePath("copy.eif"));
    copy.Create(eeANSI);
    copy.AddObject(*u);
    copy.Open();
    const TEISection* section = copy.Sections().GetSections(0);
    EXPECT_EQ(section->ClassName(), "TSomethingNew");
    EXPECT_EQ(section->Name(), "odd=name");
    EXPECT_EQ(section->Parameters().GetValues("X"), "y");
}

TEST_P(EIObjects, TableDataStreamsRowsExactly) {
    const QList<TDicFieldDescription> fields = {{"ID", dtLargeint, 0},   {"NAME", dtString, 40},
                                                {"PRICE", dtFloat, 0},   {"BORN", dtDate, 0},
                                                {"SEEN", dtDateTime, 0}, {"OK", dtBoolean, 0},
                                                {"PIC", dtBlob, 0},      {"NOTE", dtMemo, 0}};
    QList<QList<TQXVariant>> rows = {
        {TQXVariant(qlonglong(9007199254740993)), TQXVariant("Жук \"q\" \\ \t\x01"),
         TQXVariant(3.0), TQXVariant(QDate(1999, 12, 31)),
         TQXVariant(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 6))), TQXVariant(true),
         TQXVariant(Binary()), TQXVariant("line\nbreak\r\n")},
        {TQXVariant(-1), TQXVariant(""), TQXVariant(-0.1), TQXVariant(), TQXVariant(),
         TQXVariant(false), TQXVariant(QByteArray("\0\0", 2)), TQXVariant()},
        {TQXVariant(), TQXVariant(), TQXVariant(1e300), TQXVariant(), TQXVariant(), TQXVariant(),
         TQXVariant(QByteArray()), TQXVariant("123")},
    };
    // Doubles whose shortest text is easy to get wrong: every bit must come back.
    for (const double d :
         {0.1 + 0.2, 5e-324, 1.7976931348623157e308, 1e21, 1e-7, 123456789012345680.0, -2.5e-300}) {
        QList<TQXVariant> row(fields.size());
        row[2] = TQXVariant(d);
        rows << row;
    }
    {
        TEITableDataWriter writer(FFile, "GOODS", fields);
        writer.AddRow(rows[0]);
        TRecord record;
        for (const auto& f : fields)
            record.AddField(f.Name, f.DataType, f.Size);
        for (int i = 0; i < fields.size(); ++i)
            record.GetFields(i).SetValue(rows[1][i]);
        record.DeleteField(3);  // a field the record lacks is written as NULL
        writer.AddRow(record);
        for (qsizetype i = 2; i < rows.size(); ++i)
            writer.AddRow(rows[i]);
        EXPECT_TRUE(EIErrorOf([&] { writer.AddRow(QList<TQXVariant>{1}); }).contains("1 values"));
        writer.Commit();
    }
    // The same table, nothing in it: AddObject writes the field list only.
    TEITableData header;
    header.SetTableName("EMPTY");
    header.SetFields(fields.mid(0, 2));
    FFile.AddObject(header);

    auto table = Reload<TEITableData>(0);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->TableName(), "GOODS");
    EXPECT_EQ(table->RowCount(), rows.size());
    ASSERT_EQ(table->Fields().size(), fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        const TDicFieldDescription &a = table->Fields()[i], &b = fields[i];
        EXPECT_EQ(std::tie(a.Name, a.DataType, a.Size), std::tie(b.Name, b.DataType, b.Size));
    }
    TEITableDataReader reader(*FReader->Sections().GetSections(0));
    QList<TQXVariant> row;
    for (const auto& expected : rows) {
        ASSERT_TRUE(reader.Next(row));
        ASSERT_EQ(row.size(), expected.size());
        for (int i = 0; i < row.size(); ++i)  // equal means of the same kind, too
            EXPECT_TRUE(row[i] == expected[i]) << "field " << i << ": " << row[i].AsString();
        if (expected[2].Kind() == TQXVariant::vkFloat) {
            EXPECT_EQ(std::bit_cast<quint64>(row[2].AsFloat()),
                      std::bit_cast<quint64>(expected[2].AsFloat()));
        }
    }
    EXPECT_FALSE(reader.Next(row));

    TEITableDataReader records(*FReader->Sections().GetSections(0));
    TRecord record;
    ASSERT_TRUE(records.Next(record));
    EXPECT_EQ(record.GetFieldCount(), fields.size());
    EXPECT_EQ(record.FieldByName("ID").AsInteger(), 9007199254740993);
    EXPECT_EQ(record.FieldByName("pic").AsBinary(), Binary());

    auto empty = Reload<TEITableData>(1);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->RowCount(), 0);
    EXPECT_EQ(empty->Fields().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(All, EIObjects,
                         testing::Combine(testing::Values(eeUTF8, eeANSI), testing::Bool()));

TEST(EIObjectErrors, BadContentNamesItsLine) {
    QTemporaryDir dir;
    const QString name = dir.filePath("bad.eif");
    WriteBytes(name,
               "PELVAR-EI 17 UTF8\n"
               "SECTION TEIDSPStructure\nNAME 1:A\nPARAM ObjectType=ten\nDATA 0\nEND\n"      // 2
               "SECTION TEITableData\nNAME T\nPARAM RowCount=1\nDATA 3\n"                    // 7
               ">[[\"A\",2,0]]\n>[1]\n>[1,2]\nEND\n"                                         // 11
               "SECTION TEILResource\nNAME R\nDATA 1\n>[\"ENGLISH\",\"X\"]\nEND\n"           // 15
               "SECTION TEIDSPStructure\nNAME 1:B\nPARAM ObjectType=1\nDATA 1\n>@@@\nEND\n"  // 20
               "SECTION TEILanguage\nNAME L\nDATA 1\n>{not json\nEND\n");                    // 26
    TEIFile file(name);
    file.Open();
    const auto errorOf = [&](int index) { return EIErrorOf([&] { file.CreateEIObject(index); }); };
    EXPECT_TRUE(errorOf(0).startsWith("File " + name + ", line 2:")) << errorOf(0);
    EXPECT_TRUE(errorOf(0).contains("\"ten\""));
    EXPECT_EQ(errorOf(1), "<no error>");  // Load reads the field list only
    TEITableDataReader reader(*file.Sections().GetSections(1));
    QList<TQXVariant> row;
    EXPECT_TRUE(reader.Next(row));
    EXPECT_TRUE(EIErrorOf([&] { reader.Next(row); }).startsWith("File " + name + ", line 13:"));
    EXPECT_TRUE(errorOf(2).startsWith("File " + name + ", line 18:")) << errorOf(2);
    EXPECT_TRUE(errorOf(3).startsWith("File " + name + ", line 20:")) << errorOf(3);
    EXPECT_TRUE(errorOf(4).startsWith("File " + name + ", line 29:")) << errorOf(4);
}
