#include "sqleditforms.h"

#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "treedesignwidgets.h"

namespace {

const char* CaptionId(int type) {
    switch (type) {
        case 72:
            return "C_Pelvar_ViewEditForm_LFormModifier_L";
        case 73:
            return "C_Pelvar_ExecStoredProcEditForm_LFormModifier_L";
        case 74:
            return "C_Pelvar_SelectStoredProcEditForm_LFormModifier_L";
        default:
            return "C_Pelvar_PatternEditForm_LFormModifier_L";
    }
}

}  // namespace

TSqlStructureEditForm::TSqlStructureEditForm(int objectType, QWidget* parent)
    : QWidget(parent, Qt::Window), FObjectType(objectType) {
    setObjectName(QStringLiteral("TSqlStructureEditForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LString(QLatin1String(CaptionId(objectType))));
    Editor = new QsciScintilla(this);
    Editor->setObjectName(QStringLiteral("Editor"));
    Editor->setUtf8(true);
    if (objectType != 75) {
        auto* lexer = new QsciLexerSQL(Editor);
        lexer->setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        Editor->setLexer(lexer);
    } else {
        Editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
    Editor->setMarginLineNumbers(0, true);
    Editor->setMarginWidth(0, QStringLiteral("0000"));
    auto* buttons = SaveCloseRow(this, SaveButton, CloseButton, [this] { Save(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Editor, 1);
    layout->addLayout(buttons);
    resize(720, 480);
}

void TSqlStructureEditForm::Init(const QString& name, const QString& alias) {
    FRules.Init(name, alias, FObjectType);
    setWindowTitle(LString(QLatin1String(CaptionId(FObjectType))) + QStringLiteral(" - ") + name);
    SetText(FRules.Load());
}

QString TSqlStructureEditForm::Text() const {
    return Editor->text();
}

void TSqlStructureEditForm::SetText(const QString& text) {
    Editor->setText(text);
    Editor->setModified(false);
}

bool TSqlStructureEditForm::Modified() const {
    return Editor->isModified();
}

void TSqlStructureEditForm::Save() {
    FRules.Save(Editor->text());
    Editor->setModified(false);
}

void TSqlStructureEditForm::closeEvent(QCloseEvent* event) {
    if (!ConfirmClose(Modified(), [this] {
            Save();
            return true;
        })) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

TSqlStructureEditForm* OpenSqlStructureEditor(int objectType, const QString& name,
                                              const QString& alias) {
    TSqlStructureEditForm* form = nullptr;
    switch (objectType) {
        case 72:
            form = new TViewEditForm;
            break;
        case 73:
            form = new TExecStoredProcEditForm;
            break;
        case 74:
            form = new TSelectStoredProcEditForm;
            break;
        default:
            form = new TPatternEditForm;
            break;
    }
    try {
        form->Init(name.toUpper(), alias);
    } catch (...) {
        delete form;
        throw;
    }
    form->show();
    return form;
}
