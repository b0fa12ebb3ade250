#pragma once

#include <QString>

#include "dsptree.h"

// A structure body read as a bare node tree, for callers that change a node
// or two and write it back without knowing the body's kind (renaming a form's
// top node when its ancestor changes).
class TDSPFormManager {
  public:
    // Reads the body of the structure. False, with LastError set, when the
    // structure is missing or its body is not a tree; the manager is then empty.
    bool LoadPureStructure(const QString& alias, const QString& name, int objectType);
    // Writes the tree back to the structure it was loaded from. Raises
    // EDSPError when nothing was loaded.
    void SavePureStructure();

    // The top nodes of the body.
    int GetCount() const { return FRoot.NodeCount(); }
    TDSPNode& GetNodes(int index) { return FRoot.Node(index); }
    TDSPNode& Root() { return FRoot; }
    const QString& LastError() const { return FLastError; }

  private:
    TDSPNode FRoot;
    QString FAlias;
    QString FName;
    int FObjectType = 0;
    bool FLoaded = false;
    QString FLastError;
};
