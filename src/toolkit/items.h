#pragma once
// Windowless items of a Scene: lines, shapes and labels, as data. Geometry is
// in twips and held as float; a double assigned to it is rounded to the nearest
// float. Every change tells the scene which area now looks different.

#include <QColor>
#include <QRectF>
#include <QString>

namespace toolkit {

class Scene;

class Item {
public:
    explicit Item(Scene& scene) : m_scene(scene) {}
    virtual ~Item() = default;
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    bool visible() const { return m_visible; }
    void setVisible(bool visible);

    /// Index within its item array, or -1 for a single item.
    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }

    /// The area the item paints over, in twips: what must be repainted when it changes.
    virtual QRectF paintedArea() const = 0;

protected:
    /// Applies a change and reports the area painted before and after it.
    template <class Change>
    void change(Change&& apply)
    {
        const QRectF before = shownArea();
        apply();
        repaint(before | shownArea());
    }
    void assign(float& property, double value);

private:
    QRectF shownArea() const { return m_visible ? paintedArea() : QRectF(); }
    void repaint(const QRectF& area) const;

    Scene& m_scene;
    bool m_visible = true;
    int m_index = -1;
};

/// Border styles used by the program (the toolkit's numbering).
enum BorderStyle : int { BorderNone = 0, BorderSolid = 1, BorderInsideSolid = 6 };

class Line final : public Item {
public:
    using Item::Item;

    float x1() const { return m_x1; }
    float y1() const { return m_y1; }
    float x2() const { return m_x2; }
    float y2() const { return m_y2; }
    void setX1(double v) { assign(m_x1, v); }
    void setY1(double v) { assign(m_y1, v); }
    void setX2(double v) { assign(m_x2, v); }
    void setY2(double v) { assign(m_y2, v); }

    QColor borderColor() const { return m_color; }
    void setBorderColor(QColor color);
    /// Width in pixels.
    int borderWidth() const { return m_width; }
    void setBorderWidth(int pixels);
    int borderStyle() const { return m_style; }
    void setBorderStyle(int style);

    QRectF paintedArea() const override;

private:
    float m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    QColor m_color = Qt::black;
    int m_width = 1;
    int m_style = BorderSolid;
};

/// A box item: the common Left/Top/Width/Height of shapes and labels.
class BoxItem : public Item {
public:
    using Item::Item;

    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    void setLeft(double v) { assign(m_left, v); }
    void setTop(double v) { assign(m_top, v); }
    void setWidth(double v) { assign(m_width, v); }
    void setHeight(double v) { assign(m_height, v); }

    bool contains(double xTwips, double yTwips) const;
    QRectF paintedArea() const override;

private:
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

class Shape final : public BoxItem {
public:
    enum class Kind { Rectangle, Circle };
    Shape(Scene& scene, Kind kind) : BoxItem(scene), m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QColor backColor() const { return m_back; }
    void setBackColor(QColor color);
    QColor borderColor() const { return m_border; }
    void setBorderColor(QColor color);


private:
    Kind m_kind;
    QColor m_back = Qt::white;
    QColor m_border = Qt::black;
};

/// A transparent label. With automatic drag on, pressing the mouse on it
/// starts a drag at once (the view that shows the scene does the dragging).
class Label final : public BoxItem {
public:
    using BoxItem::BoxItem;

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    bool automaticDrag() const { return m_automaticDrag; }
    void setAutomaticDrag(bool on) { m_automaticDrag = on; }


private:
    QString m_caption;
    int m_borderStyle = BorderNone;
    bool m_automaticDrag = false;
};

} // namespace toolkit
