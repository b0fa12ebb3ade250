#include "designerform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "designerpanels.h"
#include "formpreview.h"
#include "formstore.h"

namespace {

QString Text(const char* id) {
    return LString(QLatin1String(id));
}

}  // namespace

TDesignerForm::TDesignerForm(const QString& alias, QWidget* parent)
    : QWidget(parent, Qt::Window), FAlias(alias) {
    setObjectName(QStringLiteral("TDesignerForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    FTree = new TFormComponentTree(FDocument, this);
    FEditor = new TFormPropertyEditor(FDocument, this);
    FPreview = new TFormPreview(FDocument, this);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* classLabel = new QLabel(Text("C_Pelvar_DesignerForm_ClassLabel_L"), bar);
    FClasses = new QComboBox(bar);
    FClasses->setObjectName(QStringLiteral("ClassBox"));
    FClasses->addItems(FormComponentClasses());
    classLabel->setBuddy(FClasses);
    bar->addWidget(classLabel);
    bar->addWidget(FClasses);
    FAdd = bar->addAction(Text("C_Pelvar_DesignerForm_AddAction_L"));
    FDelete = bar->addAction(Text("C_Pelvar_DesignerForm_DeleteAction_L"));
    bar->addSeparator();
    FUndo = bar->addAction(Text("C_Pelvar_DesignerForm_UndoAction_L"));
    FSave = bar->addAction(Text("C_Pelvar_DesignerForm_SaveAction_L"));
    FDelete->setShortcut(QKeySequence::Delete);
    FUndo->setShortcut(QKeySequence::Undo);
    FSave->setShortcut(QKeySequence::Save);
    connect(FAdd, &QAction::triggered, this, [this] {
        Run([this] {
            // Into the selected container, else beside the selected component.
            const TFormComponent* c = FDocument.Find(FDocument.Selected());
            QString host;
            if (c && c != &FDocument.Form())
                host = IsContainerClass(c->ClassName) ? c->Name : c->Parent;
            FDocument.AddComponent(FClasses->currentText(), host);
        });
    });
    connect(FDelete, &QAction::triggered, this,
            [this] { Run([this] { FDocument.DeleteComponent(FDocument.Selected()); }); });
    connect(FUndo, &QAction::triggered, this, [this] { FDocument.Undo(); });
    connect(FSave, &QAction::triggered, this, [this] { Run([this] { SaveForm(false); }); });

    auto* left = new QSplitter(Qt::Vertical, this);
    left->addWidget(FTree);
    left->addWidget(FEditor);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(FPreview);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 600});
    FStatus = new QLabel(this);
    FStatus->setObjectName(QStringLiteral("StatusLabel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(split, 1);
    layout->addWidget(FStatus);
    resize(960, 600);

    connect(&FDocument, &TFormDocument::Reset, this, &TDesignerForm::UpdateState);
    connect(&FDocument, &TFormDocument::SelectionChanged, this, &TDesignerForm::UpdateState);
    connect(&FDocument, &TFormDocument::ComponentChanged, this, &TDesignerForm::UpdateState);
    UpdateState();
}

void TDesignerForm::Run(const std::function<void()>& command) {
    try {
        command();
    } catch (const EPelvarError& e) {
        Interaction().MessageBox(e.Message(), Text("C_Pelvar_DesignerForm_Title"), MB::ICONWARNING);
    }
    UpdateState();
}

void TDesignerForm::UpdateState() {
    const TFormComponent* c = FDocument.Find(FDocument.Selected());
    const bool own = c && !c->Inherited && c != &FDocument.Form();
    FDelete->setEnabled(own);
    FUndo->setEnabled(FDocument.CanUndo());
    setWindowTitle(Text("C_Pelvar_DesignerForm_Caption").arg(FDocument.FormName(), FAlias) +
                   (FDocument.Modified() ? QStringLiteral(" *") : QString()));
    if (c && c->Inherited)
        FStatus->setText(
            Text("C_Pelvar_DesignerForm_InheritedHint").arg(c->Name, c->ClassName, c->Origin));
    else
        FStatus->setText(Text("C_Pelvar_DesignerForm_StatusText")
                             .arg(FDocument.Count() - 1)
                             .arg(FDocument.TableName().isEmpty()
                                      ? Text("C_Pelvar_DesignerForm_NoTable")
                                      : FDocument.TableName()));
}

void TDesignerForm::SetTableName(const QString& table) {
    FDocument.SetTableName(table);
}

void TDesignerForm::LoadForm(const QString& name) {
    const QString table = FDocument.TableName();
    LoadFormDocument(FDocument, FAlias, name);
    // The table given before loading wins over the body's.
    if (!table.isEmpty()) FDocument.SetTableName(table);
    FDocument.SetModified(false);
    FLoadedName = name;
    UpdateState();
}

void TDesignerForm::SaveForm(bool ask) {
    if (ask &&
        LMessageBox(QStringLiteral("C_Pelvar_DesignerForm_SaveQuestion"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    const QByteArray body = FDocument.OwnBody();
    GetDSPTable(FAlias).PutStructure(FDocument.FormName(), 12, body);
    FLoadedName = FDocument.FormName();
    FDocument.SetModified(false);
    UpdateState();
}

void TDesignerForm::DuplicateForm(const QString& name) {
    FDocument.SetFormName(name);
    UpdateState();
}

void TDesignerForm::RenameForm(const QString& name) {
    FDocument.SetFormName(name);
    FLoadedName = name;
    UpdateState();
}

void TDesignerForm::ClearForm() {
    FDocument.Clear();
    FLoadedName.clear();
    UpdateState();
}

void TDesignerForm::SetFormBounds(const QRect& bounds) {
    FDocument.SetBounds(FDocument.Form().Name, bounds);
}

void TDesignerForm::closeEvent(QCloseEvent* event) {
    if (FDocument.Modified()) {
        const int answer =
            LMessageBox(QStringLiteral("C_Pelvar_DesignerForm_SaveQuestion"),
                        QStringLiteral("ST_CONFIRMATION"), MB::YESNOCANCEL | MB::ICONQUESTION);
        if (answer == IDCANCEL) {
            event->ignore();
            return;
        }
        if (answer == IDYES) {
            try {
                SaveForm(false);
            } catch (const EPelvarError& e) {
                Interaction().MessageBox(e.Message(), Text("C_Pelvar_DesignerForm_Title"),
                                         MB::ICONWARNING);
                event->ignore();
                return;
            }
        }
    }
    event->accept();
}

TDesignerForm* FindDesignerForm(const QString& alias, const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<TDesignerForm*>(w))
            if (d->LoadedFormName() == name && d->AliasName() == alias) return d;
    return nullptr;
}
