#pragma once

#include <QApplication>
#include <QLabel>
#include <QPointer>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "basekit/registry.h"
#include "gridkit/resultmodel.h"
#include "query/queryform.h"
#include "scriptedinteraction.h"
#include "testenv.h"

// A shown query window on a fresh database with no saved settings.
class TQueryWindowTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        TRegistry().DeleteKey(RegistryBaseKey() + "\\PELVAR\\QueryMemo");
        Script().Reset();
        FForm = new TQueryForm(Alias());
        FForm->resize(900, 600);
        FForm->show();
    }
    void TearDown() override {
        delete FForm.data();
        TEngineTest::TearDown();
    }
    TDatabase& Db() { return BaseMng().Databases().GetDatabase(Alias()); }
    // Runs the statement and waits for the grid to be filled.
    void Run(const QString& sql) {
        FForm->SetQueryText(sql);
        FForm->Execute();
        for (int i = 0; i < 1000 && FForm->ResultModel()->Fetching(); ++i)
            QApplication::processEvents();
    }
    QString ResultText() { return FForm->findChild<QLabel*>("ResultLabel")->text(); }
    QPointer<TQueryForm> FForm;
};
