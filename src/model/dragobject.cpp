#include "dragobject.h"

#include <algorithm>
#include <vector>

namespace {

// Drags that have started and not finished; they own their drag objects.
std::vector<std::unique_ptr<TPelvarDragObject>>& RunningDrags() {
    static std::vector<std::unique_ptr<TPelvarDragObject>> drags;
    return drags;
}

TPelvarDropMenu*& PublishedDropMenu() {
    static TPelvarDropMenu* menu = nullptr;
    return menu;
}

}  // namespace

TPelvarDragObject::TPelvarDragObject() = default;
TPelvarDragObject::~TPelvarDragObject() = default;

TPelvarDragObject* TPelvarDragObject::Begin() {
    RunningDrags().push_back(std::make_unique<TPelvarDragObject>());
    return RunningDrags().back().get();
}

bool TPelvarDragObject::IsRunning(const TPelvarDragObject* drag) {
    return std::any_of(RunningDrags().begin(), RunningDrags().end(),
                       [drag](const auto& d) { return d.get() == drag; });
}

int TPelvarDragObject::RunningCount() {
    return int(RunningDrags().size());
}

void TPelvarDragObject::Assign(const TPelvarDragObject& Source) {
    if (&Source == this) return;
    if (Source.FImages) {
        if (FImages)
            *FImages = Source.FImages->copy();
        else
            FImages = std::make_unique<QPixmap>(Source.FImages->copy());
    } else {
        FImages.reset();
    }
    Items.Assign(Source.Items);
    Origin = Source.Origin;
    ListView = Source.ListView;
    FullPath = Source.FullPath;
    FromEIFile = Source.FromEIFile;
    RightFlag = Source.RightFlag;
}

Qt::CursorShape TPelvarDragObject::GetDragCursor(bool Accepted, int, int) const {
    return Accepted ? Qt::ArrowCursor : Qt::ForbiddenCursor;
}

void TPelvarDragObject::SetDragImages(const QPixmap& images) {
    FImages = std::make_unique<QPixmap>(images);
}

void TPelvarDragObject::ShowDragImage() {
    FImageShown = FImages != nullptr;
}

void TPelvarDragObject::HideDragImage() {
    FImageShown = false;
}

void TPelvarDragObject::Finished(QObject*, int, int, bool) {
    HideDragImage();
    auto& drags = RunningDrags();
    auto it =
        std::find_if(drags.begin(), drags.end(), [this](const auto& d) { return d.get() == this; });
    if (it != drags.end()) drags.erase(it);  // destroys this object: nothing may follow
}

void SetDropPopupMenu(TPelvarDropMenu* menu) {
    PublishedDropMenu() = menu;
}

TPelvarDropMenu* DropPopupMenu() {
    return PublishedDropMenu();
}
