#pragma once

#include <QHash>
#include <QPointer>
#include <QScrollArea>
#include <QSet>
#include <vector>

class TFormDocument;
struct TFormComponent;

// The live preview of a form: its components as real widgets at their
// positions and sizes. A click selects; dragging moves a component, dragging
// its lower right corner resizes it; the document takes the result as one
// edit. Inherited components select but never move.
class TFormPreview final : public QScrollArea {
    Q_OBJECT
  public:
    explicit TFormPreview(TFormDocument& document, QWidget* parent = nullptr);

    // The widget showing the component (the form's surface for the form).
    // Components come to be widgets when they come into sight; asking for
    // one makes it (with its container's group) at once.
    QWidget* WidgetOf(const QString& name);
    QWidget* Surface() const { return FSurface; }
    // The component a widget of the preview shows; empty for any other widget.
    QString ComponentOf(const QWidget* widget) const { return NameOf(widget); }
    // Builds a widget standing for a component of the class (also used to
    // compare with plain widgets).
    static QWidget* CreateComponentWidget(const TFormComponent& c, QWidget* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Rebuild();
    // Makes the widgets of the group headed by the component at `root`.
    void BuildGroup(int root);
    void BuildVisible();
    void UpdateComponent(const QString& name);
    void ShowSelection();
    QString NameOf(const QObject* widget) const;
    TFormDocument& FDocument;
    QWidget* FSurface = nullptr;
    QWidget* FFrame = nullptr;              // the selection marker, above everything
    QHash<QString, QWidget*> FWidgets;      // lower-cased name -> widget
    QHash<const QObject*, QString> FNames;  // widget -> component name
    std::vector<int> FGroupOf;              // component index -> its group's head
    QHash<int, std::vector<int>> FGroups;   // head -> members, containers first
    QSet<int> FBuilt;                       // heads whose widgets exist
    // The drag under way.
    QPointer<QWidget> FDragged;
    QString FDraggedName;
    QPoint FPressAt;
    QRect FStartBounds;
    bool FResizing = false;
};
