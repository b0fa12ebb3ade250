#include "viewdataform.h"

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "gridkit/tablescroller.h"

TViewDataForm::TViewDataForm(QWidget* parent) : TDataWindow(parent) {
    setObjectName(QStringLiteral("TViewDataForm"));
}

TViewDataForm::~TViewDataForm() {
    if (FInList) TViewDataWindowList::Instance().Remove(this);
}

bool TViewDataForm::Open(const QString& viewName, const QString& databaseName) {
    FDatabaseName = databaseName;
    TDatabaseManager& dbs = BaseMng().Databases();
    if (!dbs.IsOpen(databaseName))
        throw EDatabaseError(
            LString(QStringLiteral("M_Pelvar_TblDatas_NoBaseManager")).arg(viewName, databaseName));
    TDatabase& db = dbs.GetDatabase(databaseName);
    TDicTableDescription description;
    if (!db.DescribeTable(viewName, description)) return false;
    auto scroller = std::make_unique<TTableScroller>(db, viewName);
    scroller->SetDescription(description);
    scroller->SetPositional(true);
    Attach(std::move(scroller), viewName, true);
    TViewDataWindowList::Instance().Add(this);
    return true;
}
