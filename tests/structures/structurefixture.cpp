#include "structurefixture.h"

#include <QApplication>
#include <QTest>
#include <algorithm>

#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "explorer/formlookup.h"
#include "explorer/listview.h"
#include "opkit/dspoperations.h"
#include "opkit/eifile.h"
#include "scriptedinteraction.h"

namespace {

QString Items(const TDSPList& list) {
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << QString::number(list.Items(i).ObjectType) + ":" + list.Items(i).Name;
    return names.join(",");
}

}  // namespace

void StructuresTest::SetUp() {
    TEngineTest::SetUp();
    if (IsSkipped()) return;
    CreateMissingSystemTables(Alias());
    Script().Reset();
    TDSPOperationRunner runner;
    runner.Direct = [this](TUtilOperation& op) {
        TDSPTable& store = Store();
        if (auto* d = dynamic_cast<TUODeleteDSPObject*>(&op)) {
            FRan << QStringLiteral("DeleteObject %1:%2 db=%3 res=%4")
                        .arg(d->ObjectType)
                        .arg(d->Name)
                        .arg(d->DeleteDBObject)
                        .arg(d->DeleteLocalResources);
            store.DeleteStructure(d->Name, d->ObjectType);
        } else if (auto* c = dynamic_cast<TUOCopyDSPStructure*>(&op)) {
            FRan << QStringLiteral("CopyStructure %1:%2 -> %3:%4")
                        .arg(c->SourceType)
                        .arg(c->SourceName)
                        .arg(c->TargetType)
                        .arg(c->TargetName);
            if (FFailCopy) return false;
            TDSPListItem info;
            store.GetStructureProperties(c->SourceName, c->SourceType, info);
            store.PutStructure(c->TargetName, c->TargetType,
                               store.GetStructure(c->SourceName, c->SourceType));
            store.ChangeStructureProperties(c->TargetName, c->TargetType, info.ParentName,
                                            info.TableName, info.Remark);
        } else if (auto* s = dynamic_cast<TUODeleteDSPStructure*>(&op)) {
            FRan << QStringLiteral("DeleteStructure %1:%2").arg(s->ObjectType).arg(s->Name);
            store.DeleteStructure(s->Name, s->ObjectType);
        } else {
            FRan << "unexpected direct operation";
        }
        return true;
    };
    runner.WithProgress = [this](TUtilOperation& op, const QString& caption) {
        if (auto* d = dynamic_cast<TUODeleteDSPObjects*>(&op)) {
            FRan << QStringLiteral("DeleteObjects %1 db=%2 res=%3 (%4)")
                        .arg(Items(d->Items))
                        .arg(d->DeleteDBObjects)
                        .arg(d->DeleteLocalResources)
                        .arg(caption);
            for (int i = 0; i < d->Items.Count(); ++i)
                Store().DeleteStructure(d->Items.Items(i).Name, d->Items.Items(i).ObjectType);
        } else if (auto* e = dynamic_cast<TUOExportDSPObjects*>(&op)) {
            FRan << QStringLiteral("Export %1 file=%2 open=%3 append=%4 separate=%5 (%6)")
                        .arg(Items(e->Items))
                        .arg(e->FileName())
                        .arg(e->File && e->File->Opened())
                        .arg(e->Append)
                        .arg(e->SeparateExport)
                        .arg(caption);
            // The export itself is real: what the folder hands over must work.
            return ExecuteUtilOperation(op, QString());
        } else {
            FRan << "unexpected operation";
        }
        return TOperationResult{true, false, {}};
    };
    FPreviousRunner = SetDSPOperationRunner(runner);
    FRoot = std::make_unique<TDORoot>();
    FRoot->SetOnDataChanged([this](const QString& path) { FChanges << path; });
    TCommonListForm::SetRootFactory([](const QString& file) -> std::unique_ptr<TPelvarObject> {
        if (file.isEmpty()) return std::make_unique<TDORoot>();
        return nullptr;
    });
}

void StructuresTest::TearDown() {
    if (!IsSkipped()) {
        for (const QPointer<TCommonListForm>& window : FWindows)
            if (window) std::default_delete<TCommonListForm>()(window.data());
        // Designers the test opened; one may take others along.
        std::vector<QPointer<QWidget>> designers;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("TDSPTreeViewDialog")) designers.emplace_back(w);
        for (const QPointer<QWidget>& w : designers)
            if (w) std::default_delete<QWidget>()(w.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        TFormLookUp::DestroyShared();
        FRoot.reset();
        SetDSPOperationRunner(FPreviousRunner);
    }
    TEngineTest::TearDown();
}

void StructuresTest::Put(const QString& name, int type, const QString& parent,
                         const QString& remark, const QByteArray& body) {
    Store().PutStructure(name, type, body);
    Store().ChangeStructureProperties(name, type, parent, QString(), remark);
}

TPelvarObject* StructuresTest::Open(const QString& below) {
    if (!FRoot->Opened()) {
        EXPECT_TRUE(FRoot->Open());
    }
    TPelvarObject* node = FRoot.get();
    for (const QString& part : (Alias() + "\\" + below).split('\\')) {
        node = node ? node->SubObjects().FindBySubPath(part) : nullptr;
        if (node && !node->Opened()) {
            EXPECT_TRUE(node->Open()) << qPrintable(part);
        }
    }
    return node;
}

TCommonListForm* StructuresTest::Window(const QString& below) {
    auto* window = new TCommonListForm();
    FWindows.emplace_back(window);
    window->Initialize(PathOf(below), QString());
    window->show();
    EXPECT_EQ(window->CurrentPath(), PathOf(below));
    return window;
}

bool StructuresTest::WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 300; ++i) {
        if (done()) return true;
        QTest::qWait(10);
    }
    return done();
}

QStringList StructuresTest::Captions(const TCommonListForm* window) {
    QStringList captions;
    for (const TListRow& row : window->ListView()->Rows())
        captions << row.Caption;
    return captions;
}

void StructuresTest::Select(TCommonListForm* window, const QStringList& captions) {
    std::vector<int> rows;
    for (const QString& caption : captions)
        rows.push_back(int(Captions(window).indexOf(caption)));
    std::sort(rows.begin(), rows.end());
    window->ListView()->SetSelection(rows);
    if (!rows.empty()) window->ListView()->SetFocusedRow(rows.front(), false);
}
