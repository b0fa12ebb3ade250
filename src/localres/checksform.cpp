#include "checksform.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/languages.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/strutils.h"
#include "lresactions.h"

TTranslationChecksForm::TTranslationChecksForm(const QString& alias,
                                               const QList<TTranslationFinding>& findings,
                                               QWidget* parent)
    : QWidget(parent, Qt::Window), FAlias(alias), FFindings(findings) {
    setObjectName(QStringLiteral("TTranslationChecksForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LString(QStringLiteral("M_Pelvar_LResCheck_Caption")) + QStringLiteral(" - ") +
                   alias);
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(
        SafeFormat(LString(QStringLiteral("M_Pelvar_LResCheck_Summary")), int(findings.size())),
        this);
    layout->addWidget(summary);
    FList = new QTreeWidget(this);
    FList->setObjectName(QStringLiteral("FindingsList"));
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setHeaderLabels({LString(QStringLiteral("M_Pelvar_DOLRes_StringIDColumnCaption")),
                            LString(QStringLiteral("M_Pelvar_LResCheck_FaultColumn")),
                            LString(QStringLiteral("M_Pelvar_LResCheck_LanguagesColumn")),
                            LString(QStringLiteral("M_Pelvar_LResCheck_DetailColumn"))});
    FList->setColumnWidth(0, 220);
    FList->setColumnWidth(1, 160);
    FList->setColumnWidth(2, 160);
    for (const TTranslationFinding& f : findings)
        new QTreeWidgetItem(FList, {f.StringID, TranslationFaultName(f.Fault),
                                    f.Languages.join(QStringLiteral(", ")), f.Detail});
    connect(FList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenRow(FList->indexOfTopLevelItem(item)); });
    layout->addWidget(FList, 1);
    resize(780, 420);
}

void TTranslationChecksForm::OpenRow(int row) {
    if (row < 0 || row >= FFindings.size()) return;
    OpenLResourceDialog(FAlias, FFindings[row].StringID, false);
}

void OpenTranslationChecks(const QString& alias, const QStringList& sections) {
    QStringList languages;
    GetLanguagesTable(alias).FillLanguageNames(languages);
    const QList<TTranslationFinding> findings =
        CheckTranslations(BaseMng().Databases().GetDatabase(alias), sections, languages);
    auto* form = new TTranslationChecksForm(alias, findings);
    form->show();
}
