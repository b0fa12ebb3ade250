// Opening the form designer on a form of 1,000 components (document, tree,
// property editor and live preview, shown and painted once) against building
// the same 1,000 widgets at the same places in a plain QWidget, shown and
// painted once, in the same run. Prints the times; the last line is the ratio.
// An argument changes the number of components; a second one names a PNG the
// designer is saved to.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>

#include "appcore/platform.h"
#include "formdesignkit/designerform.h"

namespace {

int gComponents = 1000;
constexpr int kRuns = 5;

// Rows of ten: a panel holding two components, then eight more beside it.
TFormBody MakeForm() {
    TFormBody body;
    body.Form.Name = QStringLiteral("BIG");
    body.Form.ClassName = QStringLiteral("TForm");
    body.Form.Bounds = QRect(0, 0, 1200, 40 + (gComponents / 10 + 1) * 60);
    const QStringList classes = {QStringLiteral("TLabel"),    QStringLiteral("TEdit"),
                                 QStringLiteral("TButton"),   QStringLiteral("TCheckBox"),
                                 QStringLiteral("TComboBox"), QStringLiteral("TDBEdit")};
    QString panel;
    for (int i = 0; i < gComponents; ++i) {
        TFormComponent c;
        c.Name = QStringLiteral("C%1").arg(i);
        c.Caption = QStringLiteral("Caption %1").arg(i);
        c.Field = QStringLiteral("FIELD%1").arg(i);
        const int row = i / 10, column = i % 10;
        if (column == 0) {
            c.ClassName = QStringLiteral("TPanel");
            c.Bounds = QRect(10, 20 + row * 60, 120, 58);
            panel = c.Name;
        } else if (column <= 2) {
            c.ClassName = classes[i % classes.size()];
            c.Parent = panel;
            c.Bounds = QRect(8, 4 + (column - 1) * 26, 100, 22);
        } else {
            c.ClassName = classes[i % classes.size()];
            c.Bounds = QRect(140 + (column - 3) * 150, 20 + row * 60, 140, 25);
        }
        body.Components.push_back(c);
    }
    return body;
}

QWidget* PlainWidget(const TFormComponent& c, QWidget* parent) {
    QWidget* w;
    const QString& k = c.ClassName;
    if (k == QLatin1String("TLabel"))
        w = new QLabel(c.Caption, parent);
    else if (k == QLatin1String("TButton"))
        w = new QPushButton(c.Caption, parent);
    else if (k == QLatin1String("TCheckBox"))
        w = new QCheckBox(c.Caption, parent);
    else if (k == QLatin1String("TComboBox")) {
        auto* combo = new QComboBox(parent);
        combo->addItem(c.Caption);
        w = combo;
    } else if (k == QLatin1String("TMemo"))
        w = new QPlainTextEdit(c.Caption, parent);
    else if (k == QLatin1String("TGroupBox"))
        w = new QGroupBox(c.Caption, parent);
    else if (k == QLatin1String("TPanel"))
        w = new QFrame(parent);
    else
        w = new QLineEdit(c.Field, parent);
    w->setGeometry(c.Bounds);
    return w;
}

void Settle(QWidget& window) {
    window.show();
    QApplication::processEvents();
    (void)window.grab();  // one full paint
}

double Designer(const QByteArray& body, const QString& shot) {
    QElapsedTimer t;
    t.start();
    {
        TDesignerForm designer(QStringLiteral("BENCH"));
        designer.Document().LoadChain({{QStringLiteral("BIG"), body}});
        Settle(designer);
        if (!shot.isEmpty()) designer.grab().save(shot);
    }
    return double(t.nsecsElapsed()) / 1e6;
}

double Plain(const TFormBody& form) {
    QElapsedTimer t;
    t.start();
    {
        QWidget window;
        window.resize(960, 600);
        QWidget* surface = new QWidget(&window);
        surface->setFixedSize(form.Form.Bounds.size());
        QHash<QString, QWidget*> made;
        for (const TFormComponent& c : form.Components) {
            QWidget* host = c.Parent.isEmpty() ? surface : made.value(c.Parent);
            made.insert(c.Name, PlainWidget(c, host));
        }
        Settle(window);
    }
    return double(t.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1) gComponents = std::max(1, atoi(argv[1]));
    const QString shot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    TPlatform platform;
    const TFormBody form = MakeForm();
    const QByteArray body = FormBodyToNode(form, QStringLiteral("BIG")).ToBytes();
    std::vector<double> designer, plain;
    Designer(body, QString());  // warm-up: fonts, styles
    Plain(form);
    for (int i = 0; i < kRuns; ++i) {
        designer.push_back(Designer(body, i == 0 ? shot : QString()));
        plain.push_back(Plain(form));
    }
    const double d = Median(designer), p = Median(plain);
    std::printf("components: %d\n", gComponents);
    std::printf("form designer open (median of %d): %.1f ms\n", kRuns, d);
    std::printf("plain widgets (median of %d): %.1f ms\n", kRuns, p);
    std::printf("formdesigner/plain-widgets ratio: %.2f\n", d / p);
    return 0;
}
