#include "lresfixture.h"

#include <QRegularExpression>
#include <typeinfo>

#include "appcore/languages.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "scriptedinteraction.h"

void LResTest::SetUp() {
    TEngineTest::SetUp();
    if (IsSkipped()) return;
    CreateMissingSystemTables(Alias());
    Script().Reset();
    TLResOperationRunner runner;
    const auto record = [this](TUtilOperation& op) {
        QString name = typeid(op).name();
        FRan << name.remove(QRegularExpression("^[0-9]+"));
    };
    runner.Direct = [this, record](TUtilOperation& op) {
        record(op);
        const TOperationResult r = ExecuteUtilOperation(op, QString());
        return r.Completed && r.Errors.isEmpty();
    };
    runner.WithProgress = [record](TUtilOperation& op, const QString&) {
        record(op);
        return ExecuteUtilOperation(op, QString());
    };
    FPreviousRunner = SetLResOperationRunner(runner);
    TExportDialogPrompts prompts;
    prompts.LExportConfirm = [this](TLExportConfirmState& state, bool) {
        state = FExportAnswer;
        return !state.FileName.isEmpty() || !state.DirName.isEmpty();
    };
    prompts.Overwrite = [this](const QString&, bool) { return FOverwriteAnswer; };
    prompts.LanguagesSelect = [this](const QString&, QStringList& languages) {
        if (!FLanguagesAnswer.isEmpty()) languages = FLanguagesAnswer;
        return true;
    };
    FPreviousPrompts = SetExportDialogPrompts(prompts);
    FRoot = std::make_unique<TDORoot>();
    FRoot->SetOnDataChanged([this](const QString& path) { FChanges << path; });
}

void LResTest::TearDown() {
    if (!IsSkipped()) {
        FRoot.reset();
        SetLResOperationRunner(FPreviousRunner);
        SetExportDialogPrompts(FPreviousPrompts);
        FOthers.clear();
    }
    TEngineTest::TearDown();
}

void LResTest::Put(const QString& section, const QString& ident, const QStringList& texts,
                   const QStringList& languages, const QString& alias) {
    for (int i = 0; i < languages.size() && i < texts.size(); ++i)
        Texts(alias).SetSectionString(section, ident, languages[i], texts[i]);
}

TPelvarObject* LResTest::Open(const QString& below) {
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

QStringList LResTest::SubPaths(const TPelvarObject* node) {
    QStringList paths;
    for (int i = 0; node && i < node->SubObjects().Count(); ++i)
        paths << node->SubObjects().Items(i)->SubPath();
    return paths;
}

QString LResTest::AddDatabase(const QString& name) {
    FOthers.push_back(std::make_unique<TTestDatabase>(GetParam(), name, false));
    CreateMissingSystemTables(FOthers.back()->Alias());
    return FOthers.back()->Alias();
}
