#include "bodyeditor.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"

TBodyEditorWindow::TBodyEditorWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    FHeader = new QLabel(this);
    FHeader->setObjectName(QStringLiteral("HeaderLabel"));
    FContent = new QVBoxLayout;
    FSave = new QPushButton(LString(QStringLiteral("C_Pelvar_BodyEditor_SaveButton_L")), this);
    FSave->setObjectName(QStringLiteral("SaveButton"));
    FClose = new QPushButton(LString(QStringLiteral("C_Pelvar_BodyEditor_CloseButton_L")), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(FSave);
    buttons->addWidget(FClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FHeader);
    layout->addLayout(FContent, 1);
    layout->addLayout(buttons);
    connect(FSave, &QPushButton::clicked, this, [this] { Save(); });
    connect(FClose, &QPushButton::clicked, this, &QWidget::close);
    resize(720, 480);
}

void TBodyEditorWindow::SetStructure(const QString& alias, const QString& name, int objectType) {
    FAlias = alias;
    FName = name;
    FObjectType = objectType;
    setWindowTitle(
        QStringLiteral("%1 - %2 (%3)").arg(windowTitle().section(" - ", 0, 0), name, alias));
}

void TBodyEditorWindow::SetHeader(const QString& text) {
    FHeader->setText(text);
}

void TBodyEditorWindow::Load() {
    TDSPTable& store = GetDSPTable(FAlias);
    const QByteArray bytes = store.DSPStructureExist(FName, FObjectType)
                                 ? store.GetStructure(FName, FObjectType)
                                 : QByteArray();
    const TDSPNode root =
        bytes.trimmed().isEmpty() ? TDSPNode(FName) : TDSPNode::FromBytes(bytes, FName);
    ShowBody(root);
    SetModified(false);
}

bool TBodyEditorWindow::Save() {
    try {
        const TDSPNode body = CollectBody();
        GetDSPTable(FAlias).PutStructure(FName, FObjectType, body.ToBytes());
    } catch (const EPelvarError& e) {
        Interaction().MessageBox(e.Message(), windowTitle(), MB::ICONWARNING);
        return false;
    }
    SetModified(false);
    return true;
}

void TBodyEditorWindow::SetModified(bool modified) {
    FModified = modified;
    FSave->setEnabled(modified);
}

void TBodyEditorWindow::closeEvent(QCloseEvent* event) {
    if (FModified) {
        const int answer =
            LMessageBox(QStringLiteral("C_Pelvar_BodyEditor_SaveQuestion"),
                        QStringLiteral("ST_CONFIRMATION"), MB::YESNOCANCEL | MB::ICONQUESTION);
        if (answer == IDCANCEL || (answer == IDYES && !Save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
