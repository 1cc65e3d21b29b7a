#pragma once
// A label whose plain text is read in full at its width: lines break between
// words, and inside a word that is wider than the label, such as a long path
// (QLabel breaks between words alone and lets such a word run past its edge).
// Its height for a width is the height of its lines; they start at its top.

#include <QLabel>

class QTextLayout;

namespace widgets {

class WrappingLabel : public QLabel {
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// Lays the text out, in the label's font, in lines `width` wide from the
    /// top; returns their height.
    double layOut(QTextLayout& layout, double width) const;
    /// The frame, contentsMargins() and margin() on both sides.
    QSize around() const;
};

} // namespace widgets
