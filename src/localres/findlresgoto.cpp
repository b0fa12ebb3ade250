// What the search window does with a found row: edit it, show it in an explorer.
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "appcore/languages.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "explorer/commonlistform.h"
#include "explorer/listview.h"
#include "findlresform.h"
#include "lcontainer.h"
#include "lresactions.h"
#include "lsection.h"

void TFindLresForm::EditRow(int row) {
    if (row < 0 || row >= FFound.Rows().size()) return;
    const QString id = FFound.Rows()[row].StringID;
    OpenLResourceDialog(FAlias, id, true);
    TLocalizatorTable& table = GetLocalizatorTable(FAlias);
    for (int r = 0; r < FList->topLevelItemCount(); ++r) {
        if (FList->topLevelItem(r)->text(0) != id) continue;
        QStringList texts;
        for (int l = 0; l < FLanguages.size(); ++l) {
            texts << table.GetString(id, FLanguages[l]);
            FList->topLevelItem(r)->setText(l + 1, LResDisplayText(texts.back()));
        }
        FFound.SetTexts(r, texts);
    }
    ShowSelected();
}

namespace {

// The section node below `node`, opening the containers that take it.
TPelvarObject* FindSection(TPelvarObject* node, const QString& section, bool start) {
    if (auto* s = dynamic_cast<TDOLSection*>(node)) return s->SectionID() == section ? s : nullptr;
    auto* container = dynamic_cast<TDOLContainer*>(node);
    if (!start && !container) return nullptr;
    if (container && !container->AcceptSection(section)) return nullptr;
    if (!node->Opened()) node->Open();
    for (int i = 0; i < node->SubObjects().Count(); ++i)
        if (TPelvarObject* found = FindSection(node->SubObjects().Items(i), section, false))
            return found;
    return nullptr;
}

}  // namespace

void TFindLresForm::GoToResource(const QString& stringID) {
    if (stringID.isEmpty()) return;
    QString section, ident;
    GetLocalizatorTable(FAlias).SplitID(stringID, section, ident);
    if (!FObjForm) {
        auto* window = new TCommonListForm();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Initialize(FStartPath, QString());
        FObjForm = window;
    } else {
        FObjForm->SetCurrentPath(FStartPath);
    }
    FObjForm->show();
    FObjForm->raise();
    TPelvarObject* target = FindSection(FObjForm->CurrentFolderObject(), section, true);
    if (!target) return;
    FObjForm->SetCurrentPath(target->FullPath());
    TPelvarListView* list = FObjForm->ListView();
    for (int row = 0; row < list->RowCount(); ++row)
        if (list->Rows()[size_t(row)].Caption == ident) {
            list->SetSelection({});
            list->SetFocusedRow(row, true);
            return;
        }
}

void OpenLResSearch(const QString& alias, const QStringList& sections, const QString& path,
                    const QStringList& stringIDs) {
    // The window that shows the node, or its parent.
    const QString parent = path.left(qMax(0, int(path.lastIndexOf(QLatin1Char('\\')))));
    TCommonListForm* shown = nullptr;
    for (TCommonListForm* w : TCommonListForm::Windows())
        if (!shown && w->FileName().isEmpty() &&
            (w->CurrentPath() == path || w->CurrentPath() == parent))
            shown = w;
    QStringList languages;
    GetLanguagesTable(alias).FillLanguageNames(languages);
    auto* form = new TFindLresForm();
    form->setWindowTitle(LString(QStringLiteral("M_pelvar_DOLRes_SearchLResCaption")));
    form->Init(alias, sections, path, shown, languages, stringIDs);
    form->show();
}

TCommonListForm* TFindLresForm::ObjForm() const {
    return FObjForm;
}
