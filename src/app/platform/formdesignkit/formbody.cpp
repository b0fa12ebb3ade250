#include "formbody.h"

#include <QSize>

namespace {

const QStringList kGeometry = {QStringLiteral("Left"), QStringLiteral("Top"),
                               QStringLiteral("Width"), QStringLiteral("Height")};

int Integer(const TDSPNode& node, const QString& name, int def, const QString& form) {
    const QVariant value = node.Property(name);
    if (!value.isValid()) return def;
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok)
        throw EDSPError(QStringLiteral("The form %1: %2 of %3 is not a number (\"%4\").")
                            .arg(form, name, node.Name(), value.toString()));
    return n;
}

TFormComponent ComponentOf(const TDSPNode& node, const QString& form) {
    TFormComponent c;
    c.Name = node.Name();
    c.ClassName = node.Property(QStringLiteral("Class")).toString();
    c.Caption = node.Property(QStringLiteral("Caption")).toString();
    c.Field = node.Property(QStringLiteral("Field")).toString();
    c.Parent = node.Property(QStringLiteral("Parent")).toString();
    c.Bounds = QRect(Integer(node, QStringLiteral("Left"), 0, form),
                     Integer(node, QStringLiteral("Top"), 0, form),
                     Integer(node, QStringLiteral("Width"), 0, form),
                     Integer(node, QStringLiteral("Height"), 0, form));
    static const QStringList known =
        kGeometry + QStringList{QStringLiteral("Class"), QStringLiteral("Caption"),
                                QStringLiteral("Field"), QStringLiteral("Parent"),
                                QStringLiteral("TableName")};
    for (const TDSPProperty& p : node.Properties())
        if (!known.contains(p.Name, Qt::CaseInsensitive)) c.Extra << p;
    return c;
}

void WriteComponent(TDSPNode& node, const TFormComponent& c, bool isForm) {
    node.SetProperty(QStringLiteral("Class"), c.ClassName);
    node.SetProperty(QStringLiteral("Caption"), c.Caption);
    node.SetProperty(QStringLiteral("Left"), qlonglong(c.Bounds.x()));
    node.SetProperty(QStringLiteral("Top"), qlonglong(c.Bounds.y()));
    node.SetProperty(QStringLiteral("Width"), qlonglong(c.Bounds.width()));
    node.SetProperty(QStringLiteral("Height"), qlonglong(c.Bounds.height()));
    if (!isForm) {
        if (!c.Field.isEmpty()) node.SetProperty(QStringLiteral("Field"), c.Field);
        if (!c.Parent.isEmpty()) node.SetProperty(QStringLiteral("Parent"), c.Parent);
    }
    for (const TDSPProperty& p : c.Extra)
        node.SetProperty(p.Name, p.Value);
}

}  // namespace

const QStringList& FormComponentClasses() {
    static const QStringList classes = {
        QStringLiteral("TLabel"),  QStringLiteral("TEdit"),     QStringLiteral("TDBEdit"),
        QStringLiteral("TButton"), QStringLiteral("TCheckBox"), QStringLiteral("TComboBox"),
        QStringLiteral("TMemo"),   QStringLiteral("TPanel"),    QStringLiteral("TGroupBox")};
    return classes;
}

bool IsContainerClass(const QString& className) {
    return className == QLatin1String("TPanel") || className == QLatin1String("TGroupBox") ||
           className == QLatin1String("TForm");
}

QSize DefaultComponentSize(const QString& className) {
    if (className == QLatin1String("TLabel")) return {80, 17};
    if (className == QLatin1String("TButton")) return {75, 25};
    if (className == QLatin1String("TCheckBox")) return {120, 17};
    if (className == QLatin1String("TMemo")) return {185, 89};
    if (IsContainerClass(className)) return {185, 105};
    return {121, 21};
}

TFormBody FormBodyFromNode(const TDSPNode& root, const QString& formName) {
    TFormBody body;
    body.Form.Name = formName;
    body.Form.ClassName = QStringLiteral("TForm");
    body.Form.Caption = formName;
    body.Form.Bounds = QRect(0, 0, 400, 300);
    body.TableName = root.Property(QStringLiteral("TableName")).toString();
    if (root.NodeCount() == 0) return body;
    if (root.NodeCount() != 1)
        throw EDSPError(QStringLiteral("The form %1 has %2 top nodes; a form body has one.")
                            .arg(formName)
                            .arg(root.NodeCount()));
    const TDSPNode& top = root.Node(0);
    body.Form = ComponentOf(top, formName);
    body.Form.ClassName = QStringLiteral("TForm");
    body.Form.Parent.clear();
    for (int i = 0; i < top.NodeCount(); ++i) {
        const TDSPNode& node = top.Node(i);
        if (node.NodeCount() > 0)
            throw EDSPError(QStringLiteral("The form %1: the component %2 holds nodes of its own; "
                                           "components name their container in \"Parent\".")
                                .arg(formName, node.Name()));
        body.Components.push_back(ComponentOf(node, formName));
    }
    return body;
}

TDSPNode FormBodyToNode(const TFormBody& body, const QString& formName) {
    TDSPNode root(formName);
    if (!body.TableName.isEmpty()) root.SetProperty(QStringLiteral("TableName"), body.TableName);
    TDSPNode& top = root.AddNode(body.Form.Name);
    WriteComponent(top, body.Form, true);
    for (const TFormComponent& c : body.Components)
        WriteComponent(top.AddNode(c.Name), c, false);
    return root;
}
