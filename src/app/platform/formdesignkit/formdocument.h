#pragma once

#include <QHash>
#include <QObject>
#include <vector>

#include "formbody.h"

// The form being designed: its components (the form itself first, then those
// of its ancestors, locked, then its own), their properties, the selection and
// an undo history. Widget-free: the designer's tree, property editor and
// preview are views over it. Every edit either applies whole or raises
// EDSPError with a message for the user and changes nothing.
class TFormDocument final : public QObject {
    Q_OBJECT
  public:
    // The body of one form of the chain, root ancestor first.
    struct TChainBody {
        QString FormName;
        QByteArray Bytes;
    };

    explicit TFormDocument(QObject* parent = nullptr);

    // Loads the chain; the last body is the form's own. A body that does not
    // read raises EDSPError naming its form and leaves the document empty.
    void LoadChain(const std::vector<TChainBody>& chain);
    void Clear();

    const QString& FormName() const { return FFormName; }
    // The structure the own body is saved under (a rename or a duplicate).
    void SetFormName(const QString& name);
    const QString& TableName() const { return FTableName; }
    void SetTableName(const QString& table);

    int Count() const { return int(FItems.size()); }
    const TFormComponent& Component(int index) const { return FItems[size_t(index)]; }
    const TFormComponent& Form() const { return FItems.front(); }
    // -1 when there is no component of that name (names compare without case).
    int IndexOf(const QString& name) const;
    const TFormComponent* Find(const QString& name) const;

    const QString& Selected() const { return FSelected; }
    void Select(const QString& name);

    // Adds a component of the class into the container (empty: the form) and
    // selects it; returns its name.
    QString AddComponent(const QString& className, const QString& container = QString());
    // Deletes the component with everything inside it.
    void DeleteComponent(const QString& name);
    void SetBounds(const QString& name, const QRect& bounds);
    // The property editor's write: "Name", "Caption", "Left", "Top", "Width",
    // "Height", "Field", "TableName" (the form), or any further property.
    void SetProperty(const QString& name, const QString& property, const QString& value);

    bool CanUndo() const { return !FUndo.empty(); }
    void Undo();
    bool Modified() const { return FModified; }
    void SetModified(bool modified) { FModified = modified; }

    // What keeps the form from being saved: duplicate or invalid names,
    // components outside their container. Empty when it may be saved.
    QStringList Problems() const;
    // The form's own body. Raises EDSPError listing the problems when there are any.
    QByteArray OwnBody() const;

  signals:
    // Components came or went (load, add, delete, undo): views rebuild.
    void Reset();
    // One component's properties changed.
    void ComponentChanged(const QString& name);
    void SelectionChanged(const QString& name);

  private:
    struct TSnapshot {
        std::vector<TFormComponent> Items;
        QString TableName;
    };
    TFormComponent& Editable(const QString& name);
    // With `contents`, a container must also still hold what sits on it.
    void CheckFits(const TFormComponent& c, const std::vector<TFormComponent>& items,
                   bool contents = true) const;
    void Remember();
    void Reindex();
    QString UniqueName(const QString& className) const;
    std::vector<TFormComponent> FItems;
    QHash<QString, int> FIndex;
    std::vector<TSnapshot> FUndo;
    QString FFormName;
    QString FTableName;
    QString FSelected;
    bool FModified = false;
};
