#include "colorsettingsform.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "editorstyle.h"

namespace {
constexpr int kCell = 22;
const QString kSample = QStringLiteral(
    "-- Clients of one town\n"
    "SELECT NAME, 'Town', 42 FROM T\n"
    "WHERE TOWN = :town /* typed */");

QString Text(const char* id, const char* fallback) {
    return LString(QLatin1String(id), QLatin1String(fallback));
}
}  // namespace

// ---- TColorGrid ----

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ColorGrid"));
    setMinimumSize(sizeHint());
}

QSize TColorGrid::sizeHint() const {
    return QSize(8 * kCell + 1, 2 * kCell + 1);
}

QRect TColorGrid::CellRect(int index) const {
    return QRect((index % 8) * kCell, (index / 8) * kCell, kCell, kCell);
}

int TColorGrid::CellAt(const QPoint& at) const {
    for (int i = 0; i < TColorPickState::kGridColors; ++i)
        if (CellRect(i).contains(at)) return i;
    return -1;
}

void TColorGrid::SetMarks(int foreground, int background) {
    FForeground = foreground;
    FBackground = background;
    update();
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont small = font();
    small.setPointSizeF(qMax(6.0, small.pointSizeF() * 0.75));
    p.setFont(small);
    for (int i = 0; i < TColorPickState::kGridColors; ++i) {
        const QRect r = CellRect(i);
        const QColor c(QRgb(TColorPickState::GridColors()[size_t(i)]));
        p.fillRect(r, c);
        p.setPen(Qt::darkGray);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        QString mark;
        if (i == FForeground) mark += QStringLiteral("FG");
        if (i == FBackground) mark += mark.isEmpty() ? QStringLiteral("BG") : QStringLiteral("/B");
        if (mark.isEmpty()) continue;
        p.setPen(QColor(QRgb(c.rgb() ^ 0xFFFFFF)));
        p.drawText(r, Qt::AlignCenter, mark);
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
    const int cell = CellAt(event->position().toPoint());
    if (cell >= 0) emit Clicked(cell, event->button() == Qt::RightButton);
}

// ---- TOtherColorBox ----

void TOtherColorBox::Show(const TColorPickState::TOtherBox& box) {
    const bool shown = !box.Text.isEmpty();
    const int color = shown ? box.Color : 0xFFFFFF;
    setText(box.Text);
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; color: %2; }")
                      .arg(QColor(QRgb(color)).name(), QColor(QRgb(color ^ 0xFFFFFF)).name()));
}

void TOtherColorBox::mousePressEvent(QMouseEvent* event) {
    emit Clicked(event->button() == Qt::RightButton);
}

// ---- TColorSettingsForm ----

TColorSettingsForm::TColorSettingsForm(const TEditorColors& colors, QWidget* parent)
    : QDialog(parent), FColors(colors) {
    setObjectName(QStringLiteral("ColorSettingsForm"));
    setWindowTitle(Text("M_pelvar_OptForm_Caption", "Colors Settings"));
    BuildLayout();
    for (const TTextAttribute& a : FColors.Attributes)
        FList->addItem(a.Name);
    FList->addItem(FColors.Text.Name);
    ApplyEditorColors(*FPreview, FColors);
    FList->setCurrentRow(0);
}

void TColorSettingsForm::BuildLayout() {
    auto* elementLabel = new QLabel(Text("M_pelvar_OptForm_ElementLabel", "Element:"));
    elementLabel->setObjectName(QStringLiteral("ElementLabel"));
    FList = new QListWidget;
    FList->setObjectName(QStringLiteral("ListBox"));
    FList->setMinimumWidth(140);
    elementLabel->setBuddy(FList);

    const auto check = [](const char* name, const char* id, const char* fallback) {
        auto* box = new QCheckBox(Text(id, fallback));
        box->setObjectName(QLatin1String(name));
        return box;
    };
    auto* defaults =
        new QGroupBox(Text("M_pelvar_OptForm_UseDefaultBGFGGroupBox", "Use defaults for:"));
    defaults->setObjectName(QStringLiteral("UseDefaultBGFGGroupBox"));
    FDefaultBG = check("DefaultBGCheckBox", "M_pelvar_OptForm_DefaultBGCheckBox", "Background");
    FDefaultFG = check("DefaultFGCheckBox", "M_pelvar_OptForm_DefaultFGCheckBox", "Foreground");
    auto* defaultsLayout = new QVBoxLayout(defaults);
    defaultsLayout->addWidget(FDefaultFG);
    defaultsLayout->addWidget(FDefaultBG);

    auto* attrs = new QGroupBox(Text("M_pelvar_OptForm_TextAttrGroup", "Text attributes:"));
    attrs->setObjectName(QStringLiteral("TextAttrGroupBox"));
    FBold = check("BoldCheckBox", "M_pelvar_OptForm_BoldCheckBox", "Bold");
    FItalic = check("ItalianCheckBox", "M_pelvar_OptForm_ItalianCheckBox", "Italic");
    FUnderline = check("UnderlineCheckBox", "M_pelvar_OptForm_UnderlineCheckBox", "Underline");
    auto* attrsLayout = new QVBoxLayout(attrs);
    for (QCheckBox* box : {FBold, FItalic, FUnderline})
        attrsLayout->addWidget(box);

    FGrid = new TColorGrid;
    auto* gridLabel = new QLabel(
        Text("M_pelvar_OptForm_ColorGridHint", "Left click: foreground, right click: background"));
    gridLabel->setObjectName(QStringLiteral("ColorGridLabel"));
    auto* other = new QGroupBox(Text("M_pelvar_OptForm_OtherColorGroupBox", "Other color:"));
    other->setObjectName(QStringLiteral("OtherColorGroupBox"));
    auto* otherLayout = new QHBoxLayout(other);
    for (int i = 0; i < 2; ++i) {
        FOther[i] = new TOtherColorBox;
        FOther[i]->setObjectName(QStringLiteral("OtherColorEdit%1").arg(i + 1));
        FOther[i]->setReadOnly(true);
        FOther[i]->setAlignment(Qt::AlignCenter);
        FOther[i]->setFixedWidth(60);
        otherLayout->addWidget(FOther[i]);
        connect(FOther[i], &TOtherColorBox::Clicked, this,
                [this, i](bool right) { ChooseOtherColor(i, right); });
    }
    otherLayout->addStretch();
    auto* font = new QPushButton(Text("M_pelvar_OptForm_FontButton", "Font"));
    font->setObjectName(QStringLiteral("FontButton"));

    FPreview = new QsciScintilla;
    FPreview->setObjectName(QStringLiteral("mwCustomEdit"));
    FPreview->setText(kSample);
    FPreview->setReadOnly(true);
    FPreview->setMarginWidth(0, 0);
    FPreview->setMarginWidth(1, 0);
    FPreview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FPreview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FPreview->setMinimumHeight(4 * FPreview->fontMetrics().height() + 16);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(Text("ST_OK", "OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BtOk"));
    ok->setDefault(true);
    buttons->addButton(Text("ST_CANCEL", "Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("BtCansel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QGridLayout;
    right->addWidget(defaults, 0, 0);
    right->addWidget(attrs, 0, 1);
    right->addWidget(gridLabel, 1, 0, 1, 2);
    right->addWidget(FGrid, 2, 0, 1, 2, Qt::AlignLeft);
    right->addWidget(other, 3, 0, 1, 2);
    right->addWidget(font, 4, 0, Qt::AlignLeft);
    right->setRowStretch(5, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(elementLabel);
    left->addWidget(FList, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(FPreview);
    layout->addWidget(buttons);

    connect(FList, &QListWidget::currentRowChanged, this, &TColorSettingsForm::ShowEntry);
    connect(FGrid, &TColorGrid::Clicked, this, [this](int index, bool right) {
        FPick.ClickGrid(index, right);
        ApplyChange();
    });
    for (QCheckBox* box : {FBold, FItalic, FUnderline})
        connect(box, &QCheckBox::toggled, this, [this] {
            FPick.ClickGrid(-1, false);
            ApplyChange();
        });
    connect(FDefaultFG, &QCheckBox::toggled, this, [this](bool on) {
        FPick.SetDefaultForeground(on);
        ApplyChange();
    });
    connect(FDefaultBG, &QCheckBox::toggled, this, [this](bool on) {
        FPick.SetDefaultBackground(on);
        ApplyChange();
    });
    connect(font, &QPushButton::clicked, this, &TColorSettingsForm::ChooseFont);
}

TTextAttribute& TColorSettingsForm::Current() {
    const int row = FList->currentRow();
    return row >= 0 && row < FColors.Attributes.size() ? FColors.Attributes[row] : FColors.Text;
}

void TColorSettingsForm::ShowEntry() {
    const TTextAttribute& a = Current();
    FPick.Show(a.Foreground, &a == &FColors.Text ? FColors.GroundColor : a.Background);
    ShowPick();
}

// Puts the state into the widgets without running their handlers.
void TColorSettingsForm::ShowPick() {
    FShowing = true;
    const TTextAttribute& a = Current();
    for (auto [box, on] : {std::pair{FBold, a.Bold},
                           {FItalic, a.Italic},
                           {FUnderline, a.Underline},
                           {FDefaultFG, FPick.DefaultForeground()},
                           {FDefaultBG, FPick.DefaultBackground()}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    FGrid->SetMarks(FPick.ForegroundMark(), FPick.BackgroundMark());
    for (int i = 0; i < 2; ++i)
        FOther[i]->Show(FPick.Other(i));
    FShowing = false;
}

void TColorSettingsForm::ApplyChange() {
    if (FShowing) return;
    TTextAttribute& a = Current();
    a.Bold = FBold->isChecked();
    a.Italic = FItalic->isChecked();
    a.Underline = FUnderline->isChecked();
    a.Foreground = FPick.Foreground();
    if (&a == &FColors.Text)
        FColors.GroundColor = FPick.Background() == kNoColor ? 0xFFFFFF : FPick.Background();
    else
        a.Background = FPick.Background();
    ShowPick();
    ApplyEditorColors(*FPreview, FColors);
}

void TColorSettingsForm::ChooseOtherColor(int box, bool right) {
    FList->setFocus();
    QColorDialog dialog(QColor(QRgb(FPick.Other(box).Color)), this);
    if (Interaction().ExecModal(&dialog) != IDOK) return;
    FPick.ChooseOther(box, right, int(dialog.currentColor().rgb() & 0xFFFFFF));
    ApplyChange();
}

void TColorSettingsForm::ChooseFont() {
    QFontDialog dialog(QFont(FColors.FontName, FColors.FontSize), this);
    if (Interaction().ExecModal(&dialog) != IDOK) return;
    FColors.FontName = dialog.currentFont().family();
    FColors.FontSize = qMax(1, dialog.currentFont().pointSize());
    ApplyEditorColors(*FPreview, FColors);
}

bool RunColorSettings(TEditorColors& colors, const QString& key, QWidget* parent) {
    TColorSettingsForm form(colors, parent);
    if (Interaction().ExecModal(&form) != IDOK) return false;
    form.Colors().Save(key);
    colors = form.Colors();
    return true;
}
