#include "shortcuts.h"

#include <QBuffer>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"
#include "model/pelvarobject.h"

namespace {

TShortcutHost* gHost = nullptr;

// Larger pictures are not shortcut icons but damaged settings.
constexpr int kMaxImageSize = 1000000;

QByteArray EncodeImage(const QImage& image) {
    QByteArray bytes;
    if (image.isNull()) return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");  // lossless
    return bytes;
}

}  // namespace

void TPelvarObjectShortcut::Assign(const TPelvarObjectShortcut& Source) {
    FullPath = Source.FullPath;
    CaptionID = Source.CaptionID;
    HintID = Source.HintID;
    Caption = Source.Caption;
    Hint = Source.Hint;
    ImageIndex = Source.ImageIndex;
    Image = Source.Image.copy();
    Shortcut = Source.Shortcut;
}

void TPelvarObjectShortcut::SaveToRegistry(TRegistry& Registry) const {
    Registry.WriteString(QStringLiteral("FullPath"), FullPath);
    Registry.WriteString(QStringLiteral("CaptionID"), CaptionID);
    Registry.WriteString(QStringLiteral("HintID"), HintID);
    if (CaptionID.isEmpty()) Registry.WriteString(QStringLiteral("Caption"), Caption);
    if (HintID.isEmpty()) Registry.WriteString(QStringLiteral("Hint"), Hint);
    Registry.WriteInteger(QStringLiteral("ImageIndex"), ImageIndex);
    Registry.WriteInteger(QStringLiteral("ShortCut"), Shortcut);
    if (ImageIndex < 0) {
        const QByteArray bytes = EncodeImage(Image);
        Registry.WriteInteger(QStringLiteral("ImageSize"), int(bytes.size()));
        if (!bytes.isEmpty()) Registry.WriteBinaryData(QStringLiteral("Image"), bytes);
    }
}

void TPelvarObjectShortcut::LoadFromRegistry(const TRegistry& Registry) {
    FullPath = Registry.ReadString(QStringLiteral("FullPath"));
    CaptionID = Registry.ReadString(QStringLiteral("CaptionID"));
    HintID = Registry.ReadString(QStringLiteral("HintID"));
    if (CaptionID.isEmpty()) Caption = Registry.ReadString(QStringLiteral("Caption"));
    if (HintID.isEmpty()) Hint = Registry.ReadString(QStringLiteral("Hint"));
    ImageIndex = Registry.ReadInteger(QStringLiteral("ImageIndex"));
    Shortcut = Registry.ReadInteger(QStringLiteral("ShortCut"));
    if (ImageIndex >= 0) return;
    const int size = Registry.ReadInteger(QStringLiteral("ImageSize"));
    if (size < 0 || size > kMaxImageSize)
        throw EPelvarError(
            SafeFormat(QStringLiteral("Invalid image size (%d) in pelvar object shortcut"), size));
    if (size == 0) {
        ImageIndex = 0;  // no picture of its own: the first image of the list
        return;
    }
    const QByteArray bytes = Registry.ReadBinaryData(QStringLiteral("Image"));
    if (bytes.size() < size)
        throw ERegistryError(QStringLiteral("Registry value 'Image' holds %1 bytes, %2 expected")
                                 .arg(bytes.size())
                                 .arg(size));
    Image = QImage::fromData(bytes.left(size));
}

QString TPelvarObjectShortcut::DisplayCaption() const {
    return CaptionID.isEmpty() ? Caption : LString(CaptionID, Caption);
}

QString TPelvarObjectShortcut::DisplayHint() const {
    return HintID.isEmpty() ? Hint : LString(HintID, Hint);
}

// ---- TPelvarObjectShortcutList ----

TPelvarObjectShortcut* TPelvarObjectShortcutList::Add() {
    FList.push_back(std::make_unique<TPelvarObjectShortcut>());
    return FList.back().get();
}

TPelvarObjectShortcut* TPelvarObjectShortcutList::Insert(int Index) {
    auto it = FList.insert(FList.begin() + Index, std::make_unique<TPelvarObjectShortcut>());
    return it->get();
}

void TPelvarObjectShortcutList::Delete(int Index) {
    FList.erase(FList.begin() + Index);
}

int TPelvarObjectShortcutList::IndexOf(const TPelvarObjectShortcut* Shortcut) const {
    for (size_t i = 0; i < FList.size(); ++i)
        if (FList[i].get() == Shortcut) return int(i);
    return -1;
}

TPelvarObjectShortcut* TPelvarObjectShortcutList::FindByPath(const QString& Path) const {
    for (const auto& s : FList)
        if (s->FullPath == Path) return s.get();
    return nullptr;
}

void TPelvarObjectShortcutList::Assign(const TPelvarObjectShortcutList& Source) {
    if (&Source == this) return;
    Clear();
    for (const auto& s : Source.FList)
        Add()->Assign(*s);
}

void TPelvarObjectShortcutList::LoadFromRegistry(const QString& key, QStringList& errors) {
    if (!TRegistry().KeyExists(key)) return;
    TPelvarObjectShortcutList loaded;
    int damaged = 0;
    for (int i = 0;; ++i) {
        const QString sub = key + QLatin1Char('\\') + QString::number(i);
        TRegistry item;
        if (!item.KeyExists(sub)) break;
        try {
            if (!item.OpenKeyReadOnly(sub))
                throw ERegistryError(
                    SafeFormat(QStringLiteral("Can not open registry key '%s'"), sub));
            TPelvarObjectShortcut shortcut;
            shortcut.LoadFromRegistry(item);
            loaded.Add()->Assign(shortcut);
        } catch (const EPelvarError& e) {
            errors << sub + QStringLiteral(": ") + e.Message();
            ++damaged;
        }
    }
    if (damaged > 0 && loaded.Count() == 0) return;
    FList = std::move(loaded.FList);
}

// ---- adding folders ----

void SetShortcutHost(TShortcutHost* host) {
    gHost = host;
}

TShortcutHost* ShortcutHost() {
    return gHost;
}

QString ShortcutPathFor(const QString& fullPath) {
    QStringList parts = fullPath.split(QLatin1Char('\\'));
    if (parts.size() >= 2 && !parts[1].isEmpty() && parts[1] == BaseMng().CurrentAlias())
        parts[1].clear();
    return parts.join(QLatin1Char('\\'));
}

bool AddFolderShortcut(TShortcutHost& host, const QString& fullPath, TPelvarObject* Folder) {
    const QString path = ShortcutPathFor(fullPath);
    TPelvarObjectShortcutList& list = host.ObjectShortcuts();
    if (list.FindByPath(path)) return false;
    TPelvarObjectShortcut* shortcut = list.Add();
    shortcut->FullPath = path;
    shortcut->Caption = path;
    shortcut->Hint = path;
    shortcut->ImageIndex = 0;
    if (Folder) Folder->FillShortcut(*shortcut);
    host.FillShortcuts();
    return true;
}
