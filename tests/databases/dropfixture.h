#pragma once

#include <gtest/gtest.h>

#include <QFile>

#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/dsptable.h"
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "appcore/texts.h"
#include "databases/filecounter.h"
#include "databases/fileroot.h"
#include "databases/root.h"
#include "model/dragobject.h"
#include "model/exportconfirm.h"
#include "opkit/dspimport.h"
#include "opkit/dspoperations.h"
#include "opkit/eifile.h"
#include "scriptedinteraction.h"
#include "structures/dspactions.h"
#include "structures/dspconfirmations.h"
#include "testenv.h"

// Objects dragged between two databases and an export/import file: the real
// folders and operations, the questions answered here.
class DropTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
        Script().Reset();
        TExportDialogPrompts prompts;
        prompts.LanguagesSelect = [](const QString&, QStringList&) { return true; };
        FPreviousPrompts = SetExportDialogPrompts(prompts);
        FTarget = std::make_unique<TTestDatabase>(GetParam(), "EITARGET", false);
        CreateMissingSystemTables(FTarget->Alias());
        FRoot = std::make_unique<TDORoot>();
        ASSERT_TRUE(FRoot->Open());
        FFile = TTestEnvironment::Instance().Dir() + "/drops.eif";
        QFile::remove(FFile);
        FFileRoot = std::make_unique<TDOFileRoot>(FFile);
        FFileRoot->SetOnDataChanged([this](const QString& path) { FChanges << path; });
        ASSERT_TRUE(FFileRoot->Open());
    }
    void TearDown() override {
        if (!IsSkipped()) {
            SetCopyConfirmationPrompt(nullptr);
            SetDSPOperationRunner(FPreviousRunner);
            SetExportDialogPrompts(FPreviousPrompts);
            FFileRoot.reset();
            FRoot.reset();
            FTarget.reset();
        }
        TEngineTest::TearDown();
    }
    TPelvarObject* Open(const QString& path) {
        TPelvarObject* node = FRoot.get();
        for (const QString& part : path.split('\\')) {
            node = node ? node->SubObjects().FindBySubPath(part) : nullptr;
            if (node && !node->Opened()) {
                EXPECT_TRUE(node->Open()) << qPrintable(part);
            }
        }
        return node;
    }
    // Drops `objects` of the folder at `from` (a database path, or the file) onto `target`.
    static bool Drop(TPelvarObject& target, const QString& from,
                     const std::vector<TPelvarObject*>& objects, bool fromFile = false) {
        TPelvarDragObject drag;
        drag.FullPath = fromFile ? from : "\\" + from;
        drag.FromEIFile = fromFile;
        for (TPelvarObject* o : objects)
            drag.Items.AddCopyOf(*o);
        if (!target.AcceptDragObject(drag)) return false;
        target.DragObjectDropped(drag);
        return true;
    }
    // Applies the folder changes the file root announced, as a window would.
    void Follow() {
        for (const QString& path : FChanges)
            FFileRoot->RefreshItem(path.mid(1));
        FChanges.clear();
    }
    TPelvarObject* FileFolder(const QString& name) {
        TPelvarObject* folder = FFileRoot->SubObjects().FindBySubPath(name);
        if (folder && !folder->Opened()) {
            EXPECT_TRUE(folder->Open());
        }
        if (folder) folder->Refresh();
        return folder;
    }

    static TDicTableDescription Table(const QString& name) {
        TDicTableDescription t;
        t.Name = name;
        t.AddField("ID", dtInteger, 0);
        t.AddField("TITLE", dtString, 40);
        return t;
    }
    // A table structure with its table and `rows` rows in the source database.
    void PutTable(const QString& name, int rows) {
        const TDicTableDescription t = Table(name);
        GetDSPTable(Alias()).PutStructure(name, 10, MakeTableStructure(name, t).ToBytes());
        TDictionary(Alias()).CreateTableByDef(t, QString(), false);
        for (int i = 1; i <= rows; ++i)
            TExecQuery(Db(), QStringLiteral("INSERT INTO %1 (ID, TITLE) VALUES (%2, 't%2')")
                                 .arg(Db().Dialect().Ident(name))
                                 .arg(i))
                .Execute();
    }
    // A right-button drop; the captions of the choices it offers.
    static QStringList RightDrop(TPelvarObject& target, const QString& from,
                                 const std::vector<TPelvarObject*>& objects) {
        TPelvarDragObject drag;
        drag.FullPath = "\\" + from;
        drag.RightFlag = true;
        for (TPelvarObject* o : objects)
            drag.Items.AddCopyOf(*o);
        target.DragObjectDroppedRight(drag, 0, 0);
        QStringList captions;
        for (int i = 0; i < target.RightDropActions()->Count(); ++i)
            captions << target.RightDropActions()->Items(i)->Caption;
        return captions;
    }
    qint64 TargetRows(const QString& table) {
        TSelectQuery q(BaseMng().Databases().GetDatabase(FTarget->Alias()),
                       "SELECT COUNT(*) FROM " + table);
        q.Open();
        return q.Fields().GetFields(0).AsInteger();
    }
    QStringList TargetStructures() {
        TDSPList list;
        GetDSPTable(FTarget->Alias()).FillStructuresList(0, list);
        QStringList names;
        for (int i = 0; i < list.Count(); ++i)
            names << QString::number(list.Items(i).ObjectType) + ":" + list.Items(i).Name;
        names.sort();
        return names;
    }
    // Runs the structure operations for real and notes each one's class.
    void RecordOperations() {
        TDSPOperationRunner runner;
        runner.Direct = [this](TUtilOperation& op) {
            FRan << QStringLiteral("direct ") + typeid(op).name();
            return ExecuteUtilOperationDirect(op);
        };
        runner.WithProgress = [this](TUtilOperation& op, const QString& caption) {
            FRan << QStringLiteral("progress ") + typeid(op).name();
            FCaptions << caption;
            const bool ok = ExecuteUtilOperationDirect(op);
            return TOperationResult{ok, false, {}};
        };
        FPreviousRunner = SetDSPOperationRunner(runner);
    }

    QStringList FRan;
    QStringList FCaptions;  // of the operations run with a progress window
    TDSPOperationRunner FPreviousRunner;
    std::unique_ptr<TTestDatabase> FTarget;
    std::unique_ptr<TDORoot> FRoot;
    std::unique_ptr<TDOFileRoot> FFileRoot;
    QString FFile;
    QStringList FChanges;
    TExportDialogPrompts FPreviousPrompts;
};
