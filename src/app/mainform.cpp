#include "mainform.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>

#include "appcore/appmanager.h"
#include "appcore/texts.h"
#include "basekit/tracelog.h"
#include "pelvarapplication.h"

namespace {
TDictionaryForm* gInstance = nullptr;
}

TDictionaryForm* TDictionaryForm::Instance() {
    return gInstance;
}

TDictionaryForm::TDictionaryForm(const QString& programDir, QWidget* parent) : QMainWindow(parent) {
    gInstance = this;
    setObjectName(QStringLiteral("TDictionaryForm"));
    TPelvarApplication::SetExceptionHandler([this](const std::exception& e) { AppException(e); });
    QApplication::setApplicationDisplayName(
        LString(QStringLiteral("M_Pelvar_Pelvar_ApplicationTitle")));
    setWindowTitle(BaseMng().CurrentAlias() + QStringLiteral(" - ") +
                   LString(QStringLiteral("C_Pelvar_DictionaryForm_LFormModifier_L")));
    auto* file = menuBar()->addMenu(LString(QStringLiteral("M_Pelvar_Main_FileMenuItemCaption")));
    file->addAction(LString(QStringLiteral("M_Pelvar_Main_ExitActionCaption")), this,
                    &QWidget::close);
    setCentralWidget(new QLabel(windowTitle(), this));
    FTraceLog =
        std::make_unique<TTraceLog>(QDir(programDir).filePath(QStringLiteral("pelvar.log")));
    FTraceLog->SetTracing(false);
}

TDictionaryForm::~TDictionaryForm() {
    TPelvarApplication::SetExceptionHandler(nullptr);
    BaseMng().CloseConnections();
    FTraceLog.reset();
    BaseMng().UnloadCustomLibraries();
    if (gInstance == this) gInstance = nullptr;
}

void TDictionaryForm::AppException(const std::exception& e) {
    if (FExceptionFlag) return;
    FExceptionFlag = true;
    try {
        BaseMng().ShowException(nullptr, e);
    } catch (...) {
        // Showing must never raise out of the handler.
    }
    FExceptionFlag = false;
}
