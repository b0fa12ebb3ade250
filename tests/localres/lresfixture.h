#pragma once

#include <QStringList>
#include <functional>
#include <memory>

#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "databases/root.h"
#include "localres/lresactions.h"
#include "model/exportconfirm.h"
#include "testenv.h"

// A default database with its system tables and texts, its object tree
// opened through the real root and alias, operations run for real and
// recorded, and the export questions answered by the test.
class LResTest : public TEngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    TLocalizatorTable& Texts(const QString& alias = QString()) {
        return GetLocalizatorTable(alias.isEmpty() ? Alias() : alias);
    }
    // Stores "<section>_<ident>" texts in every listed language.
    void Put(const QString& section, const QString& ident, const QStringList& texts,
             const QStringList& languages = {"ENGLISH", "RUSSIAN"}, const QString& alias = {});
    TPelvarObject* Open(const QString& below);
    QString PathOf(const QString& below) const { return "\\" + Alias() + "\\" + below; }
    static QStringList SubPaths(const TPelvarObject* node);
    // A second database with its system tables, named on the engine.
    QString AddDatabase(const QString& name);

    std::unique_ptr<TDORoot> FRoot;
    QStringList FRan;      // operation class names, as run
    QStringList FChanges;  // paths the tree reported changed
    // The answers of the export questions.
    TLExportConfirmState FExportAnswer;
    int FOverwriteAnswer = IDYES;
    QStringList FLanguagesAnswer;  // empty: every language

  private:
    TLResOperationRunner FPreviousRunner;
    TExportDialogPrompts FPreviousPrompts;
    std::vector<std::unique_ptr<TTestDatabase>> FOthers;
};
