#include "eisection.h"

#include <algorithm>

#include "eifile.h"
#include "eiformat.h"

int TEISectionParameters::Find(const QString& name) const {
    for (int i = 0; i < FItems.size(); ++i)
        if (FItems[i].first.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TEISectionParameters::GetValues(const QString& name) const {
    const int i = Find(name);
    return i < 0 ? QString() : FItems[i].second;
}

void TEISectionParameters::SetValues(const QString& name, const QString& value) {
    const int i = Find(name);
    if (i < 0)
        FItems.append({name, value});
    else
        FItems[i].second = value;
}

QStringList TEISectionParameters::Names() const {
    QStringList result;
    for (const auto& item : FItems)
        result << item.first;
    return result;
}

TEISectionDataReader::TEISectionDataReader(std::unique_ptr<QIODevice> device,
                                           const TEISectionInfo& info, TEIEncoding encoding,
                                           QString fileName)
    : FDevice(std::move(device)),
      FFileName(std::move(fileName)),
      FCount(info.LineCount),
      FEnd(info.DataEnd) {
    FStream = std::make_unique<TEIStream>(*FDevice, encoding, info.DataStart, info.DataEnd);
    FStream->SetName(FFileName);
    FStream->Seek(info.DataStart, info.DataLine - 1);
}

TEISectionDataReader::~TEISectionDataReader() = default;

bool TEISectionDataReader::Readln(QString& text) {
    text.clear();
    if (FRead >= FCount) {
        if (FStream->Position() < FEnd)
            EIFormat::Raise(
                FFileName, FStream->LineNumber() + 1,
                QStringLiteral("the section has more data lines than DATA announces (%1)")
                    .arg(FCount));
        return false;
    }
    QByteArray raw;
    if (!FStream->ReadRawLine(raw))
        EIFormat::Raise(
            FFileName, FStream->LineNumber() + 1,
            QStringLiteral("the data ends after %1 of %2 lines").arg(FRead).arg(FCount));
    QString error;
    if (!EIFormat::DecodeDataLine(FStream->Decode(raw), text, error))
        EIFormat::Raise(FFileName, FStream->LineNumber(), error);
    ++FRead;
    return true;
}

TEISectionDataReader TEISection::OpenData() const {
    if (!FSource) throw EEIFileError(QStringLiteral("The section %1 has no file").arg(Name()));
    return TEISectionDataReader(FSource->OpenDataDevice(), FInfo, FSource->Encoding(),
                                FSource->SourceName());
}

TEISection* TEISectionList::GetSections(int index) const {
    if (index < 0 || index >= GetCount())
        throw EEIFileError(QStringLiteral("Section index %1 is out of range (0..%2)")
                               .arg(index)
                               .arg(GetCount() - 1));
    return FItems[size_t(index)].get();
}

int TEISectionList::IndexOf(const TEISection* section) const {
    if (!section) return -1;
    const int i = section->FIndex;
    return i >= 0 && i < GetCount() && FItems[size_t(i)].get() == section ? i : -1;
}

TEISection& TEISectionList::Add(TEISource* source, TEISectionInfo info) {
    FItems.push_back(std::make_unique<TEISection>(source, std::move(info)));
    FItems.back()->FIndex = GetCount() - 1;
    return *FItems.back();
}

void TEISectionList::RetireAll() {
    for (auto& item : FItems) {
        item->FIndex = -1;
        FRetired.push_back(std::move(item));
    }
    FItems.clear();
}

void TEISectionList::Rebuild(const std::vector<int>& removed, std::vector<TEISectionInfo> fresh) {
    std::vector<std::unique_ptr<TEISection>> kept;
    for (int i = 0; i < GetCount(); ++i) {
        auto& item = FItems[size_t(i)];
        if (std::binary_search(removed.begin(), removed.end(), i)) {
            item->FIndex = -1;
            FRetired.push_back(std::move(item));
        } else {
            kept.push_back(std::move(item));
        }
    }
    FItems = std::move(kept);
    for (size_t i = 0; i < FItems.size() && i < fresh.size(); ++i)
        FItems[i]->FInfo = std::move(fresh[i]);
    Renumber();
}

void TEISectionList::Renumber() {
    for (int i = 0; i < GetCount(); ++i)
        FItems[size_t(i)]->FIndex = i;
}

void TEISectionList::Clear() {
    FItems.clear();
    FRetired.clear();
}
