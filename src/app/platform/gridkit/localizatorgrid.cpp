#include "localizatorgrid.h"

#include <QHeaderView>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/texts.h"

TLocalizatorGrid::TLocalizatorGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
    setHorizontalHeaderLabels({QStringLiteral("Language"), QStringLiteral("Text")});
    setColumnWidth(0, 100);
    setColumnWidth(1, 395);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setVisible(false);
    setWordWrap(true);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
}

void TLocalizatorGrid::LoadTexts() {
    setRowCount(0);
    FLoaded.clear();
    if (!FLocalizator) return;
    QStringList languages = FLanguages;
    for (const QString& l : FLocalizator->StringLanguages(FStringID))
        if (!languages.contains(l, Qt::CaseInsensitive)) languages << l;
    setRowCount(int(languages.size()));
    for (int row = 0; row < languages.size(); ++row) {
        const QString text = FLocalizator->GetString(FStringID, languages[row]);
        const QString shown = IsMissingText(text) ? QString() : text;
        auto* language = new QTableWidgetItem(languages[row].toUpper());
        language->setFlags(language->flags() & ~Qt::ItemIsEditable);
        setItem(row, 0, language);
        setItem(row, 1, new QTableWidgetItem(shown));
        FLoaded << shown;
    }
    resizeRowsToContents();
}

int TLocalizatorGrid::RowOf(const QString& language) const {
    for (int row = 0; row < rowCount(); ++row)
        if (item(row, 0)->text().compare(language, Qt::CaseInsensitive) == 0) return row;
    return -1;
}

QString TLocalizatorGrid::TextOf(const QString& language) const {
    const int row = RowOf(language);
    return row < 0 ? QString() : item(row, 1)->text();
}

void TLocalizatorGrid::SetTextOf(const QString& language, const QString& text) {
    const int row = RowOf(language);
    if (row >= 0) item(row, 1)->setText(text);
}

int TLocalizatorGrid::StoreTexts() {
    if (!FLocalizator) return 0;
    TTransactionScope tx(BaseMng().Databases().GetDatabase(FLocalizator->Alias()));
    int changed = 0;
    for (int row = 0; row < rowCount(); ++row) {
        const QString language = item(row, 0)->text();
        const QString text = item(row, 1)->text();
        if (text == FLoaded.value(row)) continue;
        if (text.isEmpty())
            FLocalizator->DeleteString(FStringID, language);
        else
            FLocalizator->SetString(FStringID, language, text);
        ++changed;
    }
    tx.Commit();
    for (int row = 0; row < rowCount(); ++row)
        FLoaded[row] = item(row, 1)->text();
    return changed;
}
