#pragma once

#include <QHash>
#include <QPointer>
#include <QScrollArea>

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
    QWidget* WidgetOf(const QString& name) const;
    QWidget* Surface() const { return FSurface; }
    // Builds a widget standing for a component of the class (also used to
    // compare with plain widgets).
    static QWidget* CreateComponentWidget(const TFormComponent& c, QWidget* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Rebuild();
    void UpdateComponent(const QString& name);
    void ShowSelection();
    QString NameOf(QObject* widget) const;
    TFormDocument& FDocument;
    QWidget* FSurface = nullptr;
    QWidget* FFrame = nullptr;          // the selection marker, above everything
    QHash<QString, QWidget*> FWidgets;  // lower-cased name -> widget
    // The drag under way.
    QPointer<QWidget> FDragged;
    QString FDraggedName;
    QPoint FPressAt;
    QRect FStartBounds;
    bool FResizing = false;
};
