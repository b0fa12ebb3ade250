#include "filecounter.h"

#include <QFileInfo>

#include "opkit/eifile.h"

TFileCounter::TFileCounter() = default;
TFileCounter::~TFileCounter() = default;

TFileItem* TFileCounter::Find(const QString& FileName) const {
    for (const auto& item : FItems)
        if (item->FileName == FileName) return item.get();
    return nullptr;
}

TEIFile* TFileCounter::AddFile(const QString& FileName) {
    auto item = std::make_unique<TFileItem>();
    item->FileName = FileName;
    item->EIFile = std::make_unique<TEIFile>(FileName);
    item->UseCount = 1;
    const QFileInfo info(FileName);
    if (info.exists()) {
        // Only a file we may not write is read-only to us; the owner's write
        // bit alone says too little.
        item->EIFile->SetReadOnly(!info.isWritable());
        item->EIFile->Open();
    } else {
        item->EIFile->Create();
    }
    FItems.push_back(std::move(item));
    return FItems.back()->EIFile.get();
}

TEIFile* TFileCounter::GetFile(const QString& FileName) const {
    TFileItem* item = Find(FileName);
    return item ? item->EIFile.get() : nullptr;
}

int TFileCounter::GetUsed(const QString& FileName) const {
    TFileItem* item = Find(FileName);
    return item ? item->UseCount : 0;
}

bool TFileCounter::AddUse(const QString& FileName) {
    TFileItem* item = Find(FileName);
    if (item) ++item->UseCount;
    return item != nullptr;
}

void TFileCounter::RemoveFile(const QString& FileName) {
    for (auto it = FItems.begin(); it != FItems.end(); ++it)
        if ((*it)->FileName == FileName) {
            if ((*it)->UseCount < 2)
                FItems.erase(it);
            else
                --(*it)->UseCount;
            return;
        }
}

TFileCounter& FileCounter() {
    static TFileCounter counter;
    return counter;
}
