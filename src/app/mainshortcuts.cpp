// The shortcut bar and the Quick access menu of the main window.
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "appcore/platform.h"
#include "basekit/registry.h"
#include "explorer/commonlistform.h"
#include "explorer/organizeshortcutsform.h"
#include "mainform.h"

namespace {

// The picture of a shortcut that carries its own: the colour of its top-left
// pixel is transparent.
QIcon CustomIcon(const QImage& image) {
    if (image.isNull()) return MainImage(0);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, 0)));
    return QIcon(pixmap);
}

}  // namespace

void TDictionaryForm::CreateStandardShortcuts() {
    FObjectShortcuts.Clear();
    TPelvarObjectShortcut* tables = FObjectShortcuts.Add();
    tables->FullPath = QStringLiteral("\\\\Structures\\Tables");
    tables->CaptionID = tables->HintID = QStringLiteral("M_DOTblStr_ShortcutCaption");
    tables->ImageIndex = 4;
    TPelvarObjectShortcut* forms = FObjectShortcuts.Add();
    forms->FullPath = QStringLiteral("\\\\Structures\\Forms");
    forms->CaptionID = forms->HintID = QStringLiteral("M_DOVForm_ShortcutCaption");
    forms->ImageIndex = 3;
}

void TDictionaryForm::LoadShortcuts() {
    QStringList damaged;
    FObjectShortcuts.LoadFromRegistry(PelvarKey(QStringLiteral("Shortcuts")), damaged);
    // The good ones are loaded; say which were dropped.
    if (!damaged.isEmpty()) throw ERegistryError(damaged.join(QLatin1Char('\n')));
}

void TDictionaryForm::SaveShortcuts() {
    const QString key = PelvarKey(QStringLiteral("Shortcuts"));
    TRegistry reg;
    if (reg.KeyExists(key) && !reg.DeleteKey(key))
        RegistryFailure("Can not delete registry key '%s'", key);
    if (!reg.CreateKey(key)) RegistryFailure("Can not create registry key '%s'", key);
    for (int i = 0; i < FObjectShortcuts.Count(); ++i) {
        const QString sub = key + QLatin1Char('\\') + QString::number(i);
        TRegistry item;
        if (!item.OpenKey(sub, true)) RegistryFailure("Can not create registry key '%s'", sub);
        FObjectShortcuts.Items(i)->SaveToRegistry(item);
    }
}

void TDictionaryForm::FillShortcuts() {
    for (TShortcutAction* old : FShortcutActions) {
        FShortcutsMenu->removeAction(old->Action);
        FToolBar->removeAction(old->Action);
        delete old->Action;
        delete old;
    }
    FShortcutActions.clear();
    for (int i = 0; i < FObjectShortcuts.Count(); ++i) {
        const TPelvarObjectShortcut& s = *FObjectShortcuts.Items(i);
        auto* sa = new TShortcutAction(this);
        sa->FullPath = s.FullPath;
        sa->CustomImage = s.ImageIndex < 0;
        sa->Action = new QAction(s.DisplayCaption(), this);
        sa->Action->setToolTip(s.DisplayHint());
        sa->Action->setStatusTip(s.DisplayHint());
        sa->Action->setIcon(sa->CustomImage ? CustomIcon(s.Image) : MainImage(s.ImageIndex));
        if (s.Shortcut) sa->Action->setShortcut(QKeySequence(s.Shortcut));
        connect(sa->Action, &QAction::triggered, this,
                [this, sa] { Guard([this, sa] { ExecuteShortcut(*sa); }); });
        FShortcutsMenu->insertAction(FShortcutsSeparator, sa->Action);
        FToolBar->addAction(sa->Action);
        sa->Button = qobject_cast<QToolButton*>(FToolBar->widgetForAction(sa->Action));
        if (sa->Button) {
            sa->Button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(sa->Button, &QWidget::customContextMenuRequested, this,
                    [this, sa](const QPoint& pos) {
                        ShortCutButton = sa->Button;
                        FShortcutPopup->popup(sa->Button->mapToGlobal(pos));
                    });
        }
        FShortcutActions.push_back(sa);
    }
}

void TDictionaryForm::DeleteShortcutOfButton(QToolButton* button) {
    for (size_t i = 0; i < FShortcutActions.size(); ++i)
        if (FShortcutActions[i]->Button == button) {
            FObjectShortcuts.Delete(int(i));
            FillShortcuts();
            return;
        }
}

void TDictionaryForm::OrganizeShortcuts() {
    if (TOrganizeShortcutsForm::Execute(*this, this)) FillShortcuts();
}

void TDictionaryForm::ExecuteShortcut(const TShortcutAction& action) {
    auto* window = new TCommonListForm();
    try {
        window->Initialize(ExpandShortcutPath(action.FullPath, BaseMng().CurrentAlias()),
                           QString());
    } catch (...) {
        delete window;
        throw;
    }
    window->show();
}
