#include "dsptreedocument.h"

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"

TDSPTreeDocument::TDSPTreeDocument(QObject* parent) : QObject(parent) {}

QString TDSPTreeDocument::DisplayName() const {
    if (!FTitle.isEmpty()) return FTitle;
    return FDSPName;
}

void TDSPTreeDocument::SetState(TState state) {
    FState = state;
    FModel.SetReadOnly(!Editable());
    emit StateChanged();
}

void TDSPTreeDocument::SetReadOnly(bool readOnly) {
    FReadOnly = readOnly;
    SetState(FState);
}

void TDSPTreeDocument::Clear() {
    FModel.ClearTree();
    FOriginal.clear();
    FLoadError.clear();
    SetState(dsEmpty);
}

void TDSPTreeDocument::ShowTree(const QByteArray& bytes, const QString& what) {
    FOriginal = bytes;
    FLoadError.clear();
    try {
        TDSPNode root = TDSPNode::FromBytes(bytes, what);
        // A new structure has an empty body: its tree starts as a root of its name.
        if (root.Name().isEmpty() && root.NodeCount() == 0 && root.Properties().isEmpty())
            root.SetName(FDSPName.isEmpty() ? FTitle : FDSPName);
        FModel.SetTree(root);
        SetState(dsLoaded);
    } catch (const EPelvarError& e) {
        FModel.ClearTree();
        FLoadError = e.Message();
        SetState(dsDamaged);
        Interaction().MessageBox(SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_DamagedBody")),
                                            DisplayName(), FLoadError),
                                 LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONWARNING);
    }
}

void TDSPTreeDocument::Load() {
    FMemory = false;
    QByteArray bytes;
    try {
        bytes = GetDSPTable(FAlias).GetStructure(FDSPName, FObjectType);
    } catch (const std::exception& e) {
        FModel.ClearTree();
        FOriginal.clear();
        FLoadError = ExceptionMessage(e);
        SetState(dsUnavailable);
        Interaction().MessageBox(SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_LoadError")),
                                            DisplayName(), FLoadError),
                                 LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONERROR);
        return;
    }
    ShowTree(bytes, FDSPName);
}

void TDSPTreeDocument::LoadFromBytes(const QByteArray& bytes) {
    FMemory = true;
    ShowTree(bytes, DisplayName());
}

QByteArray TDSPTreeDocument::Bytes() const {
    return FState == dsLoaded ? FModel.Bytes() : FOriginal;
}

bool TDSPTreeDocument::Save() {
    if (!CanSave()) return false;
    const QByteArray bytes = FModel.Bytes();
    try {
        TDSPTable& dsp = GetDSPTable(FAlias);
        // Read first: the store would create a structure that someone deleted
        // meanwhile, and the read also tells whether the database is still there.
        dsp.GetStructure(FDSPName, FObjectType);
        dsp.PutStructure(FDSPName, FObjectType, bytes);
    } catch (const std::exception& e) {
        Interaction().MessageBox(SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_SaveError")),
                                            DisplayName(), ExceptionMessage(e)),
                                 LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONERROR);
        return false;
    }
    FOriginal = bytes;
    FModel.SetModified(false);
    return true;
}

bool TDSPTreeDocument::ReplaceDamagedBody() {
    if (FState != dsDamaged || FReadOnly) return false;
    const int answer = Interaction().MessageBox(
        SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_ReplaceDamagedAsk")), DisplayName()),
        LString(QStringLiteral("ST_CONFIRMATION")), MB::YESNO | MB::ICONWARNING | MB::DEFBUTTON2);
    if (answer != IDYES) return false;
    FModel.SetTree(TDSPNode(FDSPName.isEmpty() ? FTitle : FDSPName));
    FLoadError.clear();
    SetState(dsLoaded);
    FModel.SetModified(true);  // the replacement is a change to be saved
    return true;
}

TDSPTreeDocument::TCloseDecision TDSPTreeDocument::QueryClose() {
    if (!Modified() || !Editable()) return cdDiscard;
    const int answer = Interaction().MessageBox(
        SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_SaveChangesAsk")), DisplayName()),
        LString(QStringLiteral("ST_CONFIRMATION")), MB::YESNOCANCEL | MB::ICONQUESTION);
    if (answer == IDNO) return cdDiscard;
    if (answer != IDYES) return cdStay;
    if (FMemory) return cdKeep;
    return Save() ? cdKeep : cdStay;
}
