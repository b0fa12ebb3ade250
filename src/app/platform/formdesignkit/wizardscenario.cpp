#include "wizardscenario.h"

#include <QApplication>
#include <QVBoxLayout>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "designkit/recordtable.h"

TWizardScenarioForm::TWizardScenarioForm(QWidget* parent) : TBodyEditorWindow(parent) {
    setObjectName(QStringLiteral("TWizardScenarioForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_WizardScenarioForm_Caption")));
    FPages = new TRecordTable(
        {{LString(QStringLiteral("C_Pelvar_WizardScenarioForm_PageColumn_L"))},
         {LString(QStringLiteral("C_Pelvar_WizardScenarioForm_CaptionColumn_L")), {}, {}, 200},
         {LString(QStringLiteral("C_Pelvar_WizardScenarioForm_FormColumn_L"))}},
        this);
    Content()->addWidget(FPages);
    connect(FPages, &TRecordTable::Changed, this, [this] { SetModified(true); });
}

void TWizardScenarioForm::Load() {
    SetStructure(FAlias, FScenarioName, 30);
    SetHeader(LString(QStringLiteral("C_Pelvar_WizardScenarioForm_Header")).arg(FScenarioName));
    // The forms of the database to choose from; none is a page without a form.
    FPages->SetChoices(2, QStringList{QString()} + Forms());
    TBodyEditorWindow::Load();
}

QStringList TWizardScenarioForm::Forms() const {
    TDSPList list;
    GetDSPTable(AliasName()).FillStructuresList(12, list);
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << list.Items(i).Name;
    return names;
}

void TWizardScenarioForm::ShowBody(const TDSPNode& root) {
    QList<QStringList> rows;
    for (const TWizardPage& p : WizardPagesFromNode(root, StructureName()))
        rows << QStringList{p.Name, p.Caption, p.Form};
    FPages->SetRows(rows);
}

TDSPNode TWizardScenarioForm::CollectBody() const {
    QList<TWizardPage> pages;
    for (const QStringList& r : FPages->Rows())
        pages << TWizardPage{r[0], r[1], r[2]};
    return WizardPagesToNode(pages, StructureName(), Forms());
}

TWizardScenarioForm* FindWizardScenarioForm(const QString& name, const QString& alias) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TWizardScenarioForm*>(w))
            if (f->ScenarioName() == name && f->ScenarioAlias() == alias) return f;
    return nullptr;
}
