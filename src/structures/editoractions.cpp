#include "editoractions.h"

#include <QWidget>

#include "appcore/texts.h"

TPelvarObjectAction* AddEditAction(TPelvarObject& owner, const char* name, const char* captionId,
                                   int shortcut, int image, TPelvarObjectActionOptions options) {
    TPelvarObjectAction* a = owner.Actions().Add();
    a->Name = QLatin1String(name);
    a->Caption = a->Hint = LString(QLatin1String(captionId));
    a->Category = QStringLiteral("Edit");
    a->Shortcut = shortcut;
    a->ImageIndex = image;
    a->Options = options;
    return a;
}

TPelvarObjectActionOptions SubObjectOptions() {
    return {aoSubObjects, aoPopupMenu, aoToolBar, aoSingleSelection};
}

TPelvarObjectActionOptions ManySubObjectOptions() {
    TPelvarObjectActionOptions options = SubObjectOptions();
    options += aoMultySelection;
    return options;
}

TPelvarObjectActionOptions AnySubObjectOptions() {
    TPelvarObjectActionOptions options = ManySubObjectOptions();
    options += aoNoSelection;
    return options;
}

void BringEditorForward(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}
