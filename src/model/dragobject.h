#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <memory>

#include "model/pelvarobject.h"

// The payload of a drag between lists, trees and windows: the source folder's
// path and copies of the dragged objects. A drag in flight belongs to no window:
// it is kept alive by the running drags and destroys itself in Finished.
class TPelvarDragObject {
  public:
    TPelvarDragObject();
    ~TPelvarDragObject();
    TPelvarDragObject(const TPelvarDragObject&) = delete;
    TPelvarDragObject& operator=(const TPelvarDragObject&) = delete;

    // A drag object kept by the running drags until its Finished.
    static TPelvarDragObject* Begin();
    // Whether a pointer names a drag that has not finished yet.
    static bool IsRunning(const TPelvarDragObject* drag);
    static int RunningCount();

    void Assign(const TPelvarDragObject& Source);
    Qt::CursorShape GetDragCursor(bool Accepted, int X, int Y) const;
    const QPixmap* GetDragImages() const { return FImages.get(); }
    void SetDragImages(const QPixmap& images);
    void ShowDragImage();
    void HideDragImage();
    bool DragImageShown() const { return FImageShown; }
    // The drag is over: the object destroys itself when it is a running drag.
    // Target is whatever received the drop (may be null).
    void Finished(QObject* Target, int X, int Y, bool Accepted);

    QObject* ListView = nullptr;  // the list the drag started from; not owned
    QString FullPath;             // source folder, or the source file for file drags
    TPelvarObjectList Items;      // copies of the dragged objects
    QPoint Origin;                // where the drag started, list coordinates
    bool FromEIFile = false;
    bool RightFlag = false;

  private:
    std::unique_ptr<QPixmap> FImages;
    bool FImageShown = false;
};

// Where the choices of a right-button drop are shown. The window that
// receives the drop publishes its drop menu before it hands the drop to an
// object; the object fills the choices and asks the menu to show them.
class TPelvarDropMenu {
  public:
    virtual ~TPelvarDropMenu() = default;
    // Shows Items at the screen point (XX, YY). Owner keeps the list; the menu
    // may hold it weakly and must not run a choice once the list is gone.
    virtual void ShowDropChoices(const TPelvarObject& Owner,
                                 const std::shared_ptr<TPelvarObjectActionList>& Items, int XX,
                                 int YY) = 0;
    // Owner is going away: the choices it filled leave the menu.
    virtual void WithdrawDropChoices(const TPelvarObject& Owner) = 0;
};

void SetDropPopupMenu(TPelvarDropMenu* menu);
TPelvarDropMenu* DropPopupMenu();
