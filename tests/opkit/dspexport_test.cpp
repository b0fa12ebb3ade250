#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "dspfixture.h"
#include "opkit/eiobjects.h"

namespace {

class DSPExportTest : public DSPOpTest {
  protected:
    void SetUp() override {
        DSPOpTest::SetUp();
        if (IsSkipped()) return;
        Op.SetSourceAlias(Alias());
    }
    // `count` structures of several kinds, hostile names among them, with
    // bodies that are not text.
    void PutMany(int count) {
        const int types[] = {otParams, otScheduler, otView, otPattern, otUserInfo, 11};
        TTransactionScope tx(Db());
        for (int i = 0; i < count; ++i) {
            const int type = types[i % 6];
            QString name = QStringLiteral("S%1").arg(i, 4, 10, QLatin1Char('0'));
            if (i % 50 == 7) name = kDollar + name;
            if (i % 50 == 9) name = kQuoted + name;
            const QString parent = i % 10 == 3 ? QStringLiteral("S0000") : QString();
            Put(name, type, QByteArray("body\0\n\xff ", 8) + name.toUtf8(),
                type == otParams ? parent : QString(), QStringLiteral("remark %1 ж").arg(i));
        }
        tx.Commit();
    }
    void ListAll() {
        Dsp().FillStructuresList(0, Op.Items);
        Op.Items.Sort(dskForExport);
    }
    // The file names in the directory.
    static QStringList Files(const QString& dir) {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir Dir;
    TUOExportDSPObjects Op;
};

TEST_P(DSPExportTest, AThousandStructuresReadBackSectionBySection) {
    PutMany(1000);
    PutTable("T_DATA", 300);
    PutForm(kQuoted);
    ListAll();
    Op.ExportTableData = true;
    Op.ExportLResources = true;
    const QString path = Dir.filePath("all.eif");
    Op.SetFileName(path);
    TOperationResult result = ExecuteUtilOperation(Op, "Exporting");
    ASSERT_TRUE(result.Completed && result.Errors.isEmpty())
        << result.Errors.join("\n").toStdString();
    EXPECT_EQ(Script().Progress[0]->LastPosition, 1002);
    EXPECT_EQ(Files(Dir.path()), QStringList({"all.eif"}));  // no temporary file left

    TEIFile file(path);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 1002 + 2);
    int structures = 0;
    for (int i = 0; i < file.Sections().GetCount(); ++i) {
        const auto object = file.CreateEIObject(i);
        if (const auto* s = dynamic_cast<const TEIDSPStructure*>(object.get())) {
            const TDSPListItem& want = Op.Items.Items(structures++);
            EXPECT_EQ(s->Item().Name, want.Name);
            EXPECT_EQ(s->Item().ObjectType, want.ObjectType);
            EXPECT_EQ(s->Item().ParentName, want.ParentName);
            EXPECT_EQ(s->Item().Remark, want.Remark);
            EXPECT_EQ(s->Item().LastChange.AsDateTime(), want.LastChange.AsDateTime());
            EXPECT_EQ(s->Body(), Dsp().GetStructure(want.Name, want.ObjectType));
            continue;
        }
        // Table data and texts follow their structure.
        const auto previous = file.CreateEIObject(i - 1);
        const auto* before = dynamic_cast<const TEIDSPStructure*>(previous.get());
        ASSERT_TRUE(before);
        if (const auto* data = dynamic_cast<const TEITableData*>(object.get())) {
            EXPECT_EQ(before->Item().Name, "T_DATA");
            EXPECT_EQ(data->RowCount(), 300);
            TEITableDataReader rows(*file.Sections().GetSections(i));
            QList<TQXVariant> values;
            int read = 0;
            while (rows.Next(values))
                EXPECT_EQ(values[1].AsString(),
                          QStringLiteral("row %1 ж'\"").arg(values[0].AsInteger()))
                    << ++read;
            EXPECT_EQ(rows.RowsRead(), 300);
        } else {
            const auto* texts = dynamic_cast<const TEILResource*>(object.get());
            ASSERT_TRUE(texts);
            EXPECT_EQ(before->Item().Name, kQuoted);
            EXPECT_EQ(texts->SectionID(), "K_" + kQuoted.toUpper());
            EXPECT_EQ(texts->Texts().size(), 3);
        }
    }
    EXPECT_EQ(structures, 1002);

    // The legacy encoding and layout on request.
    Op.Items.Clear();
    Op.Items.AddCopy(Item(kQuoted, otForm));
    Op.UTF8 = Op.NewFormat = false;
    EXPECT_TRUE(ExecuteUtilOperationDirect(Op)) << Op.Errors().join("\n").toStdString();
    file.Open();
    EXPECT_EQ(file.Encoding(), eeANSI);
    EXPECT_TRUE(file.Release17());
    ASSERT_EQ(file.Sections().GetCount(), 2);
    EXPECT_EQ(file.Sections().GetSections(0)->Parameters().GetValues("Name"), kQuoted);
}

TEST_P(DSPExportTest, AppendingKeepsWhatTheFileHeldEvenWhenItFails) {
    PutMany(12);
    ListAll();
    const QString path = Dir.filePath("a.eif");
    Op.SetFileName(path);
    TDSPList all;
    all.Assign(Op.Items);
    for (int i = all.Count() - 1; i >= 4; --i)
        Op.Items.Delete(i);
    ASSERT_TRUE(ExecuteUtilOperationDirect(Op));
    const QByteArray first = ReadBytes(path);

    Op.Items.Assign(all);
    Op.Append = true;
    ASSERT_TRUE(ExecuteUtilOperationDirect(Op));
    const QByteArray appended = ReadBytes(path);
    EXPECT_TRUE(appended.startsWith(first));
    TEIFile file(path);
    file.Open();
    EXPECT_EQ(file.Sections().GetCount(), 4 + 12);

    // A write that fails in the middle, then a cancel: the file is as it was.
    int writes = 0;
    {
        TDiskFaults faults(
            [&](qint64 bytes) -> qint64 { return bytes > 0 && ++writes == 6 ? 0 : -1; });
        EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
    }
    EXPECT_GE(writes, 6);
    ASSERT_EQ(Op.Errors().size(), 1);
    EXPECT_TRUE(Op.Errors()[0].contains("the disk is full")) << Op.Errors()[0];
    EXPECT_EQ(ReadBytes(path), appended);
    Script().CancelProgressAfter(7);
    EXPECT_TRUE(ExecuteUtilOperation(Op, "Exporting").Cancelled);
    EXPECT_EQ(ReadBytes(path), appended);

    // A new file is held back in memory until it is closed: a disk that
    // fills then fails the export, and the file it would replace stays.
    Op.Append = false;
    const QStringList before = QFileInfo(path).dir().entryList(QDir::Files);
    int newWrites = 0;
    {
        TDiskFaults faults(
            [&](qint64 bytes) -> qint64 { return bytes > 0 && ++newWrites == 1 ? 0 : -1; });
        EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
    }
    ASSERT_EQ(Op.Errors().size(), 1);
    EXPECT_TRUE(Op.Errors()[0].contains("the disk is full")) << Op.Errors()[0];
    EXPECT_FALSE(Op.Errors()[0].contains(".tmp")) << "names the file the user chose";
    EXPECT_EQ(ReadBytes(path), appended);
    EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files), before);

    // Into a file the caller holds open.
    file.Open();
    Op.Append = false;
    Op.File = &file;
    Op.Items.Assign(all);
    ASSERT_TRUE(ExecuteUtilOperationDirect(Op)) << Op.Errors().join("\n").toStdString();
    EXPECT_EQ(file.Sections().GetCount(), 4 + 12 + 12);
    EXPECT_TRUE(ReadBytes(path).startsWith(appended));
    EXPECT_EQ(Files(Dir.path()), QStringList({"a.eif"}));
}

TEST_P(DSPExportTest, AReadOnlyOrVanishedFileGivesOneErrorAndLeavesNothingBehind) {
    PutMany(3);
    ListAll();
    const QString path = Dir.filePath("ro.eif");
    WriteBytes(path, "kept");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::ReadGroup);
    Op.SetFileName(path);
    for (bool append : {false, true}) {
        Op.Append = append;
        EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
        ASSERT_EQ(Op.Errors().size(), 1);
        EXPECT_TRUE(Op.Errors()[0].contains(path + " is read-only")) << Op.Errors()[0];
    }
    EXPECT_EQ(ReadBytes(path), "kept");

    // A file that vanished after its caller opened it, or before an append.
    const QString gone = Dir.filePath("gone.eif");
    TEIFile opened(gone);
    opened.Create();
    QFile::remove(gone);
    Op.File = &opened;
    EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
    EXPECT_EQ(Op.Errors(), QStringList({"File " + gone + " not found"}));
    Op.File = nullptr;
    Op.Append = true;
    Op.SetFileName(gone);
    EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
    EXPECT_EQ(Op.Errors(), QStringList({"File " + gone + " not found"}));
    // And a folder that is not there.
    Op.Append = false;
    Op.SetFileName(Dir.filePath("none/x.eif"));
    EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
    EXPECT_EQ(Op.Errors().size(), 1);
    EXPECT_EQ(Files(Dir.path()), QStringList({"ro.eif"}));
}

TEST_P(DSPExportTest, SeparateExportWritesAFilePerStructureUnderASafeName) {
    const QString table = QStringLiteral("ЗАК'АЗ;1");
    PutTable(table, 5);
    PutTable(kDollar, 5);  // "$" or ".": a structure of no table of its own
    PutForm(kQuoted);
    Put("abc", otParams, "{}");
    Put("ABC", otParams, "{}");
    ListAll();
    Op.SetFileName(Dir.path());
    Op.SeparateExport = Op.SeparateTableData = Op.ExportTableData = Op.ExportLResources = true;
    ASSERT_TRUE(ExecuteUtilOperationDirect(Op)) << Op.Errors().join("\n").toStdString();
    const QString tableFile = "10_%D0%97%D0%90%D0%9A%27%D0%90%D0%97%3B1";
    EXPECT_EQ(DSPExportFileBase(table, otTable), tableFile);
    EXPECT_EQ(Files(Dir.path()),
              QStringList({tableFile + ".data.eif", tableFile + ".eif", "10_ORD%241%2EX.eif",
                           "12_Q%27T%22%3B%20%D0%96.eif", "14_ABC.eif", "14_abc~2.eif"}));
    const auto classes = [&](const QString& name) {
        TEIFile file(Dir.filePath(name));
        file.Open();
        QStringList result;
        for (int i = 0; i < file.Sections().GetCount(); ++i)
            result << file.Sections().GetSections(i)->ClassName();
        return result;
    };
    EXPECT_EQ(classes("10_ORD%241%2EX.eif"), QStringList({"TEIDSPStructure"}));
    EXPECT_EQ(classes(tableFile + ".eif"), QStringList({"TEIDSPStructure"}));
    EXPECT_EQ(classes(tableFile + ".data.eif"), QStringList({"TEITableData"}));
    EXPECT_EQ(classes("12_Q%27T%22%3B%20%D0%96.eif"),
              QStringList({"TEIDSPStructure", "TEILResource"}));

    // A directory that is not there.
    Op.SetFileName(Dir.filePath("missing"));
    EXPECT_FALSE(ExecuteUtilOperationDirect(Op));
    EXPECT_TRUE(Op.Errors()[0].contains("does not exist")) << Op.Errors()[0];

    // Long names are cut, yet stay apart.
    const QString longName(60, QChar(0x0416));
    const QString a = DSPExportFileBase(longName + "A", 12),
                  b = DSPExportFileBase(longName + "B", 12);
    EXPECT_NE(a, b);
    EXPECT_LE(a.size(), 3 + 120 + 9);
    EXPECT_EQ(DSPExportFileBase("../x/y", 10), "10_%2E%2E%2Fx%2Fy");
}

PELVAR_ENGINE_TESTS(DSPExportTest);

}  // namespace
