#include "languagesdialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "opkit/lresoperations.h"

QFont FontOfLanguage(const TLanguageFont& font) {
    QFont f(font.Name);
    f.setPointSize(font.Size > 0 ? font.Size : 10);
    f.setBold(font.Style & 1);
    f.setItalic(font.Style & 2);
    f.setUnderline(font.Style & 4);
    f.setStrikeOut(font.Style & 8);
    return f;
}

TLanguageFont LanguageFontOf(const QFont& font, const TLanguageFont& kept) {
    TLanguageFont f = kept;  // character set, colour and pitch have no widget counterpart
    f.Name = font.family();
    f.Size = font.pointSize() > 0 ? font.pointSize() : kept.Size;
    f.Style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
              (font.strikeOut() ? 8 : 0);
    return f;
}

QString CheckLanguageEntry(const QString& id, const TOneLanguage& language) {
    if (id.trimmed().isEmpty()) return QStringLiteral("A language needs an ID");
    if (id.size() > kMaxLanguageIDLength)
        return QStringLiteral("A language ID has at most %1 characters").arg(kMaxLanguageIDLength);
    for (const QString& name : {language.RussianName, language.EnglishName, language.NativeName})
        if (name.size() > kMaxLanguageNameLength)
            return QStringLiteral("A language name has at most %1 characters")
                .arg(kMaxLanguageNameLength);
    return QString();
}

TLanguagesDialog::TLanguagesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TLanguagesDialog"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_LanguagesDialog_LFormModifier_L")));
    auto* layout = new QVBoxLayout(this);
    auto* idLabel = new QLabel(LString(QStringLiteral("C_Pelvar_LanguagesDialog_IDLabel_L")), this);
    FIDEdit = new QLineEdit(this);
    FIDEdit->setObjectName(QStringLiteral("IDEdit"));
    FIDEdit->setMaxLength(kMaxLanguageIDLength);
    idLabel->setBuddy(FIDEdit);
    layout->addWidget(idLabel);
    layout->addWidget(FIDEdit);

    auto* names =
        new QGroupBox(LString(QStringLiteral("C_Pelvar_LanguagesDialog_NamesGroupBox_L")), this);
    auto* form = new QFormLayout(names);
    const char* labels[3] = {"C_Pelvar_LanguagesDialog_RussianNameLabel_L",
                             "C_Pelvar_LanguagesDialog_EnglishNameLabel_L",
                             "C_Pelvar_LanguagesDialog_NativeNameLabel_L"};
    const char* editNames[3] = {"RussianNameEdit", "EnglishNameEdit", "NativeNameEdit"};
    for (int i = 0; i < 3; ++i) {
        FNames[i] = new QLineEdit(names);
        FNames[i]->setObjectName(QLatin1String(editNames[i]));
        FNames[i]->setMaxLength(kMaxLanguageNameLength);
        FNames[i]->setMinimumWidth(240);
        form->addRow(LString(QLatin1String(labels[i])), FNames[i]);
    }
    layout->addWidget(names);

    auto* fontBox =
        new QGroupBox(LString(QStringLiteral("C_Pelvar_LanguagesDialog_FontGroupBox_L")), this);
    auto* fontLayout = new QHBoxLayout(fontBox);
    auto* samples = new QVBoxLayout();
    FSamples[0] = new QLabel(QStringLiteral("Русский текст"), fontBox);
    FSamples[1] = new QLabel(QStringLiteral("English text"), fontBox);
    samples->addWidget(FSamples[0]);
    samples->addWidget(FSamples[1]);
    fontLayout->addLayout(samples, 1);
    auto* fontButton =
        new QPushButton(LString(QStringLiteral("C_Pelvar_LanguagesDialog_FontButton_L")), fontBox);
    fontButton->setObjectName(QStringLiteral("FontButton"));
    connect(fontButton, &QPushButton::clicked, this, &TLanguagesDialog::ChooseFont);
    fontLayout->addWidget(fontButton);
    layout->addWidget(fontBox);

    auto* box = new QDialogButtonBox(this);
    QPushButton* ok =
        box->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    box->addButton(LString(QStringLiteral("ST_CANCEL")), QDialogButtonBox::RejectRole);
    box->addButton(LString(QStringLiteral("ST_HELP")), QDialogButtonBox::HelpRole);
    connect(box, &QDialogButtonBox::accepted, this, &TLanguagesDialog::TryAccept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

void TLanguagesDialog::SetEntry(const QString& id, const TOneLanguage& language) {
    FIDEdit->setText(id);
    FNames[0]->setText(language.RussianName);
    FNames[1]->setText(language.EnglishName);
    FNames[2]->setText(language.NativeName);
    FKept = language.Font;
    ApplyFont(FontOfLanguage(language.Font));
}

QString TLanguagesDialog::ID() const {
    return FIDEdit->text().trimmed();
}

TOneLanguage TLanguagesDialog::Entry() const {
    TOneLanguage l;
    l.RussianName = FNames[0]->text();
    l.EnglishName = FNames[1]->text();
    l.NativeName = FNames[2]->text();
    l.Font = LanguageFontOf(FFont, FKept);
    return l;
}

void TLanguagesDialog::ApplyFont(const QFont& font) {
    FFont = font;
    FSamples[0]->setFont(font);
    FSamples[1]->setFont(font);
    // The native name is written in the language's own script: its family only.
    QFont native = FNames[2]->font();
    native.setFamily(font.family());
    FNames[2]->setFont(native);
}

void TLanguagesDialog::ChooseFont() {
    QFontDialog dialog(FFont, this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    if (Interaction().ExecModal(&dialog) == IDOK) ApplyFont(dialog.currentFont());
}

void TLanguagesDialog::TryAccept() {
    if (!CheckLanguageEntry(ID(), Entry()).isEmpty()) {
        QApplication::beep();
        FIDEdit->setFocus();
        return;
    }
    accept();
}
