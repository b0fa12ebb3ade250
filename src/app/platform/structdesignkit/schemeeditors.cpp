#include "schemeeditors.h"

#include <QApplication>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "designkit/bodyrules.h"
#include "designkit/recordtable.h"

namespace {

QString Text(const char* id) {
    return LString(QLatin1String(id));
}

// A captioned table for the content area.
QWidget* Titled(const char* captionId, TRecordTable* table, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Text(captionId), box));
    layout->addWidget(table);
    return box;
}

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

// ---- TOperationSchemeEditForm ----

TOperationSchemeEditForm::TOperationSchemeEditForm(QWidget* parent) : TBodyEditorWindow(parent) {
    setObjectName(QStringLiteral("TOperationSchemeEditForm"));
    setWindowTitle(Text("C_Pelvar_OperationSchemeEditForm_Caption"));
    FOperations = new TRecordTable({{Text("C_Pelvar_OperationSchemeEditForm_OperationColumn_L")},
                                    {Text("C_Pelvar_OperationSchemeEditForm_CaptionColumn_L")}},
                                   this);
    TRecordTable::TColumn action{Text("C_Pelvar_OperationSchemeEditForm_ActionColumn_L")};
    action.Kind = TRecordTable::TColumn::Choice;
    action.Choices = SchemeStepActions();
    FSteps = new TRecordTable({{Text("C_Pelvar_OperationSchemeEditForm_OperationColumn_L")},
                               {Text("C_Pelvar_OperationSchemeEditForm_StepColumn_L")},
                               action,
                               {Text("C_Pelvar_OperationSchemeEditForm_ParameterColumn_L")}},
                              this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(
        Titled("C_Pelvar_OperationSchemeEditForm_OperationsLabel_L", FOperations, split));
    split->addWidget(Titled("C_Pelvar_OperationSchemeEditForm_StepsLabel_L", FSteps, split));
    Content()->addWidget(split);
    for (TRecordTable* t : {FOperations, FSteps})
        connect(t, &TRecordTable::Changed, this, [this] { SetModified(true); });
    // A new step belongs to the operation chosen above.
    FSteps->SetNameColumn(1);
    connect(FOperations, &TRecordTable::CurrentRowChanged, this, [this](int row) {
        FSteps->SetNewRowValue(0, FOperations->Rows().value(row).value(0));
    });
    connect(FOperations, &TRecordTable::Changed, this, &TOperationSchemeEditForm::FollowRenames);
}

void TOperationSchemeEditForm::FollowRenames() {
    // An operation renamed in place takes its steps along.
    QStringList names;
    for (const QStringList& r : FOperations->Rows())
        names << r[0];
    if (names.size() == FOperationNames.size()) {
        QList<QStringList> steps = FSteps->Rows();
        bool moved = false;
        for (int i = 0; i < names.size(); ++i)
            if (names[i] != FOperationNames[i])
                for (QStringList& step : steps)
                    if (step[0] == FOperationNames[i]) {
                        step[0] = names[i];
                        moved = true;
                    }
        if (moved) FSteps->SetRows(steps);
    }
    FOperationNames = names;
    FSteps->SetNewRowValue(0, names.value(FOperations->CurrentRow()));
}

void TOperationSchemeEditForm::Load() {
    SetStructure(FAlias, FSchemeName, 81 + FSchemeType);
    SetHeader(Text("C_Pelvar_OperationSchemeEditForm_Header")
                  .arg(FSchemeName,
                       FParent.isEmpty() ? Text("C_Pelvar_BodyEditor_NoParent") : FParent,
                       FRemark));
    TBodyEditorWindow::Load();
    // A new scheme is worth saving as it is.
    if (!FExisting) SetModified(true);
}

void TOperationSchemeEditForm::ShowBody(const TDSPNode& root) {
    const TOperationScheme scheme = OperationSchemeFromNode(root, StructureName());
    QList<QStringList> operations, steps;
    for (const TSchemeOperation& o : scheme.Operations) {
        operations << QStringList{o.Name, o.Caption};
        for (const TSchemeStep& s : o.Steps)
            steps << QStringList{o.Name, s.Name, s.Action, s.Parameter};
    }
    FOperations->SetRows(operations);
    FSteps->SetRows(steps);
    FOperationNames.clear();
    for (const QStringList& r : operations)
        FOperationNames << r[0];
}

TDSPNode TOperationSchemeEditForm::CollectBody() const {
    TOperationScheme scheme;
    scheme.SchemeType = FSchemeType;
    for (const QStringList& r : FOperations->Rows())
        scheme.Operations << TSchemeOperation{r[0], r[1], {}};
    QStringList problems;
    for (const QStringList& r : FSteps->Rows()) {
        auto owner = std::find_if(scheme.Operations.begin(), scheme.Operations.end(),
                                  [&](const TSchemeOperation& o) {
                                      return o.Name.compare(r[0], Qt::CaseInsensitive) == 0;
                                  });
        if (owner == scheme.Operations.end())
            problems << QStringLiteral("Step %1 belongs to the operation %2, which is not listed.")
                            .arg(r[1], r[0]);
        else
            owner->Steps << TSchemeStep{r[1], r[2], r[3]};
    }
    RaiseProblems(QStringLiteral("The scheme %1").arg(StructureName()), problems);
    return OperationSchemeToNode(scheme, StructureName());
}

// ---- TDocumentaryStatusEditForm ----

TDocumentaryStatusEditForm::TDocumentaryStatusEditForm(QWidget* parent)
    : TBodyEditorWindow(parent) {
    setObjectName(QStringLiteral("TDocumentaryStatusEditForm"));
    setWindowTitle(Text("C_Pelvar_DocumentaryStatusEditForm_Caption"));
    TRecordTable::TColumn initial{Text("C_Pelvar_DocumentaryStatusEditForm_InitialColumn_L")};
    initial.Kind = TRecordTable::TColumn::Check;
    initial.Width = 70;
    TRecordTable::TColumn final{Text("C_Pelvar_DocumentaryStatusEditForm_FinalColumn_L")};
    final.Kind = TRecordTable::TColumn::Check;
    final.Width = 70;
    FStatuses = new TRecordTable({{Text("C_Pelvar_DocumentaryStatusEditForm_CodeColumn_L")},
                                  {Text("C_Pelvar_OperationSchemeEditForm_CaptionColumn_L")},
                                  initial,
                                  final},
                                 this);
    FTransitions = new TRecordTable({{Text("C_Pelvar_DocumentaryStatusEditForm_FromColumn_L")},
                                     {Text("C_Pelvar_DocumentaryStatusEditForm_ToColumn_L")},
                                     {Text("C_Pelvar_OperationSchemeEditForm_CaptionColumn_L")}},
                                    this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(
        Titled("C_Pelvar_DocumentaryStatusEditForm_StatusesLabel_L", FStatuses, split));
    split->addWidget(
        Titled("C_Pelvar_DocumentaryStatusEditForm_TransitionsLabel_L", FTransitions, split));
    Content()->addWidget(split);
    for (TRecordTable* t : {FStatuses, FTransitions})
        connect(t, &TRecordTable::Changed, this, [this] { SetModified(true); });
    // A new transition leaves the status chosen above.
    FTransitions->SetNameColumn(-1);
    connect(FStatuses, &TRecordTable::CurrentRowChanged, this, [this](int row) {
        FTransitions->SetNewRowValue(0, FStatuses->Rows().value(row).value(0));
    });
}

void TDocumentaryStatusEditForm::Load() {
    const QString name = FMail ? QStringLiteral("MailStatuses") : QStringLiteral("DocStatuses");
    SetStructure(FAlias, name, 84);
    SetHeader(Text(FMail ? "C_Pelvar_DocumentaryStatusEditForm_MailHeader"
                         : "C_Pelvar_DocumentaryStatusEditForm_DocHeader"));
    TBodyEditorWindow::Load();
}

void TDocumentaryStatusEditForm::ShowBody(const TDSPNode& root) {
    const TStatusList list = StatusListFromNode(root, StructureName());
    QList<QStringList> statuses, transitions;
    for (const TDocStatus& s : list.Statuses)
        statuses << QStringList{s.Code, s.Caption, Flag(s.Initial), Flag(s.Final)};
    for (const TStatusTransition& t : list.Transitions)
        transitions << QStringList{t.From, t.To, t.Caption};
    FStatuses->SetRows(statuses);
    FTransitions->SetRows(transitions);
}

TDSPNode TDocumentaryStatusEditForm::CollectBody() const {
    TStatusList list;
    for (const QStringList& r : FStatuses->Rows())
        list.Statuses << TDocStatus{r[0], r[1], r[2] == QLatin1String("1"),
                                    r[3] == QLatin1String("1")};
    for (const QStringList& r : FTransitions->Rows())
        list.Transitions << TStatusTransition{r[0], r[1], r[2]};
    return StatusListToNode(list, StructureName());
}

TOperationSchemeEditForm* FindOperationSchemeEditor(const QString& name, int schemeType,
                                                    const QString& alias) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* e = qobject_cast<TOperationSchemeEditForm*>(w))
            if (e->SchemeName() == name && e->SchemeType() == schemeType &&
                e->SchemeAlias() == alias)
                return e;
    return nullptr;
}

TDocumentaryStatusEditForm* FindDocumentaryStatusEditor(bool mail) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* e = qobject_cast<TDocumentaryStatusEditForm*>(w); e && e->Mail() == mail)
            return e;
    return nullptr;
}
