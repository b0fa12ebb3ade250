#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "basekit/errors.h"

PELVAR_DECLARE_ERROR(EDSPError, EPelvarError);

// A DSP structure body: a tree of named nodes with ordered, typed properties.
// Stored as compact UTF-8 JSON:
//   {"name":"CLIENTS","props":[{"name":"Remark","type":"string","value":"..."}],"nodes":[...]}
// Property types: "string", "integer", "float", "boolean", "datetime", "binary"
// (binary values are base64 in the JSON).
struct TDSPProperty {
    QString Name;
    QVariant Value;  // QString, qlonglong, double, bool, QDateTime or QByteArray
};

class TDSPNode {
  public:
    explicit TDSPNode(QString name = QString()) : FName(std::move(name)) {}
    TDSPNode(const TDSPNode& other);
    TDSPNode& operator=(const TDSPNode& other);

    const QString& Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }

    const QList<TDSPProperty>& Properties() const { return FProperties; }
    // Replaces the value of an existing property, or appends one.
    void SetProperty(const QString& name, const QVariant& value);
    bool HasProperty(const QString& name) const;
    QVariant Property(const QString& name, const QVariant& defaultValue = QVariant()) const;
    void RemoveProperty(const QString& name);

    int NodeCount() const { return int(FNodes.size()); }
    TDSPNode& Node(int index) { return *FNodes[size_t(index)]; }
    const TDSPNode& Node(int index) const { return *FNodes[size_t(index)]; }
    TDSPNode& AddNode(const QString& name);
    void RemoveNode(int index);
    // The first child of that name (case-insensitive), or nullptr.
    TDSPNode* FindNode(const QString& name);
    const TDSPNode* FindNode(const QString& name) const;

    QByteArray ToBytes() const;
    // Raises EDSPError naming `what` when the bytes are not a DSP tree.
    static TDSPNode FromBytes(const QByteArray& bytes, const QString& what = QString());

  private:
    QString FName;
    QList<TDSPProperty> FProperties;
    std::vector<std::unique_ptr<TDSPNode>> FNodes;
};
