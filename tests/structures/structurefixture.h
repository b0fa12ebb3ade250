#pragma once

#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "databases/root.h"
#include "explorer/commonlistform.h"
#include "structures/dspactions.h"
#include "structures/dspfolder.h"
#include "testenv.h"

// A fresh default database with its system tables, its object tree opened
// through the real root and alias, and the structure operations run by a test
// runner that records each one with its options and makes its effect in the
// store (the copy and the deletions), so that folders and windows see them.
class StructuresTest : public TEngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    TDSPTable& Store() { return GetDSPTable(Alias()); }
    void Put(const QString& name, int type, const QString& parent = QString(),
             const QString& remark = QString(), const QByteArray& body = QByteArray());
    // Opens every node on the way to `below` ("Structures\\All") and returns it.
    TPelvarObject* Open(const QString& below);
    TDODSPFolder* Folder(const QString& below) { return dynamic_cast<TDODSPFolder*>(Open(below)); }
    QString PathOf(const QString& below) const { return "\\" + Alias() + "\\" + below; }

    // A shown explorer window over the databases, at `below`.
    TCommonListForm* Window(const QString& below);
    static bool WaitFor(const std::function<bool()>& done);
    static QStringList Captions(const TCommonListForm* window);
    static void Select(TCommonListForm* window, const QStringList& captions);

    std::unique_ptr<TDORoot> FRoot;
    QStringList FRan;  // "<operation> <options>", in the order run
    bool FFailCopy = false;
    QStringList FChanges;  // paths the tree reported changed

  private:
    TDSPOperationRunner FPreviousRunner;
    std::vector<QPointer<TCommonListForm>> FWindows;
};
