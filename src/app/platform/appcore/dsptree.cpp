#include "dsptree.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

TDSPNode::TDSPNode(const TDSPNode& other) {
    *this = other;
}

TDSPNode& TDSPNode::operator=(const TDSPNode& other) {
    if (this == &other) return *this;
    FName = other.FName;
    FProperties = other.FProperties;
    FNodes.clear();
    for (const auto& n : other.FNodes)
        FNodes.push_back(std::make_unique<TDSPNode>(*n));
    return *this;
}

void TDSPNode::SetProperty(const QString& name, const QVariant& value) {
    for (auto& p : FProperties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) {
            p.Value = value;
            return;
        }
    FProperties.append(TDSPProperty{name, value});
}

bool TDSPNode::HasProperty(const QString& name) const {
    for (const auto& p : FProperties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QVariant TDSPNode::Property(const QString& name, const QVariant& def) const {
    for (const auto& p : FProperties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return p.Value;
    return def;
}

void TDSPNode::RemoveProperty(const QString& name) {
    for (int i = 0; i < FProperties.size(); ++i)
        if (FProperties[i].Name.compare(name, Qt::CaseInsensitive) == 0) {
            FProperties.removeAt(i);
            return;
        }
}

TDSPNode& TDSPNode::AddNode(const QString& name) {
    FNodes.push_back(std::make_unique<TDSPNode>(name));
    return *FNodes.back();
}

void TDSPNode::RemoveNode(int index) {
    if (index >= 0 && index < NodeCount()) FNodes.erase(FNodes.begin() + index);
}

TDSPNode* TDSPNode::FindNode(const QString& name) {
    for (auto& n : FNodes)
        if (n->Name().compare(name, Qt::CaseInsensitive) == 0) return n.get();
    return nullptr;
}

const TDSPNode* TDSPNode::FindNode(const QString& name) const {
    return const_cast<TDSPNode*>(this)->FindNode(name);
}

namespace {

QJsonObject ToJson(const TDSPNode& node) {
    QJsonObject o;
    o.insert(QStringLiteral("name"), node.Name());
    if (!node.Properties().isEmpty()) {
        QJsonArray props;
        for (const auto& p : node.Properties()) {
            QJsonObject jp;
            jp.insert(QStringLiteral("name"), p.Name);
            switch (p.Value.metaType().id()) {
                case QMetaType::Bool:
                    jp.insert(QStringLiteral("type"), QStringLiteral("boolean"));
                    jp.insert(QStringLiteral("value"), p.Value.toBool());
                    break;
                case QMetaType::Int:
                case QMetaType::LongLong:
                case QMetaType::UInt:
                case QMetaType::ULongLong:
                    jp.insert(QStringLiteral("type"), QStringLiteral("integer"));
                    jp.insert(QStringLiteral("value"), p.Value.toLongLong());
                    break;
                case QMetaType::Double:
                    jp.insert(QStringLiteral("type"), QStringLiteral("float"));
                    jp.insert(QStringLiteral("value"), p.Value.toDouble());
                    break;
                case QMetaType::QDateTime:
                    jp.insert(QStringLiteral("type"), QStringLiteral("datetime"));
                    jp.insert(QStringLiteral("value"),
                              p.Value.toDateTime().toString(Qt::ISODateWithMs));
                    break;
                case QMetaType::QByteArray:
                    jp.insert(QStringLiteral("type"), QStringLiteral("binary"));
                    jp.insert(QStringLiteral("value"),
                              QString::fromLatin1(p.Value.toByteArray().toBase64()));
                    break;
                default:
                    jp.insert(QStringLiteral("type"), QStringLiteral("string"));
                    jp.insert(QStringLiteral("value"), p.Value.toString());
                    break;
            }
            props.append(jp);
        }
        o.insert(QStringLiteral("props"), props);
    }
    if (node.NodeCount() > 0) {
        QJsonArray nodes;
        for (int i = 0; i < node.NodeCount(); ++i)
            nodes.append(ToJson(node.Node(i)));
        o.insert(QStringLiteral("nodes"), nodes);
    }
    return o;
}

void FromJson(const QJsonObject& o, TDSPNode& node, const QString& what) {
    auto fail = [&](const QString& why) {
        throw EDSPError(QStringLiteral("The DSP tree of %1 is damaged: %2")
                            .arg(what.isEmpty() ? QStringLiteral("a structure") : what, why));
    };
    if (!o.value(QStringLiteral("name")).isString()) fail(QStringLiteral("a node has no name"));
    node.SetName(o.value(QStringLiteral("name")).toString());
    const QJsonValue props = o.value(QStringLiteral("props"));
    const QJsonValue nodes = o.value(QStringLiteral("nodes"));
    if (!props.isUndefined() && !props.isArray())
        fail(QStringLiteral("the properties of node '%1' are not a list").arg(node.Name()));
    if (!nodes.isUndefined() && !nodes.isArray())
        fail(QStringLiteral("the children of node '%1' are not a list").arg(node.Name()));
    for (const QJsonValue& v : props.toArray()) {
        if (!v.isObject())
            fail(QStringLiteral("a property of node '%1' is not an object").arg(node.Name()));
        const QJsonObject p = v.toObject();
        if (!p.value(QStringLiteral("name")).isString())
            fail(QStringLiteral("a property of node '%1' has no name").arg(node.Name()));
        const QString name = p.value(QStringLiteral("name")).toString();
        const QString type = p.value(QStringLiteral("type")).toString();
        const QJsonValue value = p.value(QStringLiteral("value"));
        // A value of another kind than its type says is damage, not a default.
        auto wrongValue = [&] {
            fail(QStringLiteral("property %1 does not hold a %2 value").arg(name, type));
        };
        QVariant result;
        if (type == QLatin1String("boolean")) {
            if (!value.isBool()) wrongValue();
            result = value.toBool();
        } else if (type == QLatin1String("integer")) {
            // toInteger keeps all 64 bits; a double would lose those beyond 2^53.
            // (A whole number answers the same whatever the default.)
            if (!value.isDouble() || value.toInteger(1) != value.toInteger(2)) wrongValue();
            result = qlonglong(value.toInteger());
        } else if (type == QLatin1String("float")) {
            if (!value.isDouble()) wrongValue();
            result = value.toDouble();
        } else if (type == QLatin1String("datetime")) {
            const QDateTime dt = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
            if (!value.isString() || !dt.isValid()) wrongValue();
            result = dt;
        } else if (type == QLatin1String("binary")) {
            if (!value.isString()) wrongValue();
            result = QByteArray::fromBase64(value.toString().toLatin1());
        } else if (type == QLatin1String("string")) {
            if (!value.isString()) wrongValue();
            result = value.toString();
        } else {
            fail(QStringLiteral("property %1 has the unknown type '%2'").arg(name, type));
        }
        node.SetProperty(name, result);
    }
    for (const QJsonValue& v : nodes.toArray()) {
        if (!v.isObject()) fail(QStringLiteral("a child node is not an object"));
        FromJson(v.toObject(), node.AddNode(QString()), what);
    }
}

}  // namespace

QByteArray TDSPNode::ToBytes() const {
    return QJsonDocument(ToJson(*this)).toJson(QJsonDocument::Compact);
}

TDSPNode TDSPNode::FromBytes(const QByteArray& bytes, const QString& what) {
    TDSPNode node;
    if (bytes.trimmed().isEmpty()) return node;  // a new structure has an empty body
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        throw EDSPError(
            QStringLiteral("The DSP tree of %1 is not readable: %2")
                .arg(what.isEmpty() ? QStringLiteral("a structure") : what, err.errorString()));
    FromJson(doc.object(), node, what);
    return node;
}
