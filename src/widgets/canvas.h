#pragma once
// The picture box: a drawing surface inside a sunken frame that paints its
// scene (background and windowless items) and turns pointer input into the
// program's events, positions in twips.

#include "toolkit/scene.h"
#include "tormell_export.h"

#include <QFrame>

#include <optional>

namespace widgets {

class TORMELL_EXPORT Canvas : public QFrame, private toolkit::SceneObserver {
    Q_OBJECT

public:
    explicit Canvas(QWidget* parent = nullptr);
    ~Canvas() override;

    /// What the canvas shows; items are added to it.
    toolkit::Scene& scene() { return m_scene; }
    const toolkit::Scene& scene() const { return m_scene; }

    /// Outer size in twips, frame included.
    double widthTwips() const;
    double heightTwips() const;
    void setWidthTwips(double twips);
    void setHeightTwips(double twips);

    /// Draws the scene grown or shrunk to fill the canvas, its proportions
    /// kept and centred, rather than at its size in twips: a picture to look
    /// at, as large as its place allows. The size in twips stays the scene's,
    /// and is the size the canvas asks for.
    void setScaledToFit(bool fit);

    /// Erases free drawing. The canvas keeps none besides its items, so what
    /// remains is a repaint of the items.
    void clear();
    /// Repaints at once rather than at the next pass of the event loop.
    void refresh();

    /// Converts a widget position (logical pixels) to canvas twips.
    QPointF twipsAt(QPointF widgetPos) const;

    QSize sizeHint() const override;

    /// The label being dragged, if a drag is in progress.
    const toolkit::Label* draggedLabel() const { return m_drag ? m_drag->label : nullptr; }

signals:
    /// During a drag, the pointer moved over a shown label; x, y relative to it.
    void labelDragOver(toolkit::Label& label, float x, float y);
    /// During a drag, the pointer moved over the bare canvas; x, y in canvas twips.
    void dragOver(float x, float y);
    /// Outside a drag, the pointer moved over a shown label, or pressed on it to
    /// start a drag; x, y relative to it.
    void labelMouseMove(toolkit::Label& label, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x,
                        float y);
    /// Outside a drag, the pointer moved over the bare canvas.
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Drag {
        toolkit::Label* label;
        QPointF grabOffset; // pointer minus the label's top-left, in twips
        std::optional<QPointF> outlineAt; // top-left of the outline, in twips
    };

    // Outer size in pixels as the twips give it: the widget's own size but
    // when scaled to fit.
    QSize sceneSize() const;
    void setSceneSize(QSize pixels);
    // From the scene's pixels, as the twips give them, to the widget's.
    QTransform sceneToWidget() const;
    void sceneAreaChanged(const QRectF& twips) override;
    void sceneChanged() override;

    toolkit::Label* shownLabelAt(QPointF twips) const;
    QRectF outlineArea() const;
    void moveOutline(std::optional<QPointF> topLeft);
    void endDrag();

    toolkit::Scene m_scene;
    std::optional<Drag> m_drag;
    QSize m_sceneSize; // while scaled to fit
    bool m_scaledToFit = false;
};

} // namespace widgets
