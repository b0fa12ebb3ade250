#include "objectaction.h"

void TPelvarObjectAction::Update(const QStringList* subObjects) {
    if (FOnUpdate) FOnUpdate(*this, subObjects);
}

void TPelvarObjectAction::Execute(const QStringList* subObjects) {
    // A command may close its own object and with it this action: run a copy.
    if (TPelvarObjectActionExecuteEvent handler = FOnExecute) handler(subObjects);
}

TPelvarObjectAction* TPelvarObjectActionList::Add() {
    FList.push_back(std::make_unique<TPelvarObjectAction>());
    return FList.back().get();
}

void TPelvarObjectActionList::Delete(int index) {
    FList.erase(FList.begin() + index);
}

int TPelvarObjectActionList::IndexOf(const TPelvarObjectAction* action) const {
    for (size_t i = 0; i < FList.size(); ++i)
        if (FList[i].get() == action) return int(i);
    return -1;
}

TPelvarObjectAction* TPelvarObjectActionList::FindByName(const QString& name) const {
    for (const auto& a : FList)
        if (a->Name == name) return a.get();
    return nullptr;
}
