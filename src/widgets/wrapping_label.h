#pragma once
// A label whose plain text is read in full at its width: lines break between
// words, and inside a word that is wider than the label, such as a long path
// (QLabel breaks between words alone and lets such a word run past its edge).
// A text given as phrases breaks between them wherever a line holds at least
// one: Japanese has no spaces, and Qt would break it between any two letters.
// Its height for a width is the height of its lines; they start at its top.

#include <QLabel>
#include <QList>

class QTextLayout;

namespace widgets {

class WrappingLabel : public QLabel {
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    /// Shows `phrases` run together, lines breaking between them. The
    /// breaks hold until the text is set otherwise.
    void setPhrases(const QStringList& phrases);

    /// The text as it is broken into lines at the label's width.
    QStringList lines() const;

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

    // The text setPhrases() gave, and where its phrases end.
    QString m_phrased;
    QList<int> m_phraseEnds;
};

} // namespace widgets
