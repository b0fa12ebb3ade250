// The items of an opened export/import file: one per section.
#include "appcore/texts.h"
#include "eifilerules.h"
#include "eifolders.h"
#include "opkit/eifile.h"
#include "opkit/eiobjects.h"
#include "structures/dspitem.h"

void TDOEIItem::Assign(const TPelvarObject& Source) {
    TDOCommonFileObject::Assign(Source);
    if (auto* item = dynamic_cast<const TDOEIItem*>(&Source)) FSection = item->FSection;
}

void TDOEIItem::Bind(TEISection* section, int index) {
    Q_UNUSED(index);
    FSection = section;
}

// ---- structures ----

void TDOEIDSPStrItem::Assign(const TPelvarObject& Source) {
    TDOEIItem::Assign(Source);
    if (auto* item = dynamic_cast<const TDOEIDSPStrItem*>(&Source)) FInfo = item->FInfo;
}

void TDOEIDSPStrItem::Bind(TEISection* section, int index) {
    TDOEIItem::Bind(section, index);
    // The list needs the parameters only: bodies stay in the file.
    FInfo = TEIDSPStructure::ItemOf(*section);
}

void TDOEIDSPStrItem::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    Item.Caption = FInfo.Name;
    Item.ImageIndex = FInfo.ObjectType == 10   ? 3
                      : FInfo.ObjectType == 12 ? 9
                      : FInfo.ObjectType == 16 ? 6
                                               : -1;
    for (int i = 1; i < Columns.Count(); ++i)
        Item.SubItems << DSPColumnText(FInfo, Columns[i].Tag);
}

// ---- resources, tables, languages ----

void TDOEINamedItem::Assign(const TPelvarObject& Source) {
    TDOEIItem::Assign(Source);
    if (auto* item = dynamic_cast<const TDOEINamedItem*>(&Source)) FIdentifier = item->FIdentifier;
}

void TDOEINamedItem::Bind(TEISection* section, int index) {
    TDOEIItem::Bind(section, index);
    // The parameter is what the section's object reads its identifier from;
    // reading it here spares loading the section's data.
    FIdentifier = section->Parameters().GetValues(ParameterName());
    if (FIdentifier.isEmpty()) FIdentifier = section->Name();
}

void TDOEINamedItem::FillListViewItem(TListRow& Item, const TListColumns&) {
    Item.Caption = FIdentifier;
    Item.ImageIndex = 2;
}

void TDOEIUnknownItem::FillListViewItem(TListRow& Item, const TListColumns&) {
    Item.Caption = FSection ? FSection->Name() : GetSubPath();
    Item.ImageIndex = 2;
}
