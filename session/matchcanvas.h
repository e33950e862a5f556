#pragma once

#include <QColor>
#include <QWidget>
#include <array>

// The canvas between the term and the meaning column of the term page. A line
// is shown as two markers of its colour: one at the left edge beside its term
// and one at the right edge beside its meaning. The canvas keeps its markers
// rather than pixels, so a right marker stays at the right edge however wide
// the window becomes.
class MatchCanvas : public QWidget {
    Q_OBJECT
public:
    enum Side { Left, Right };
    static constexpr int kRows = 10;
    static constexpr int kMarkerWidth = 20;
    static constexpr int kMarkerHeight = 44;

    explicit MatchCanvas(QWidget* parent = nullptr);

    // Top of row i (1..10) in the panel that holds both columns; the canvas
    // itself starts 10 pixels lower.
    static int rowTop(int row);
    // The colour of term row i: a line always takes its term's colour.
    static QColor rowColour(int row);
    // Where the marker of a row stands on a canvas of this width.
    static QRect markerRect(Side side, int row, int width);

    // The whole canvas white: every marker gone.
    void fill();
    void drawMarker(Side side, int row, const QColor& colour);
    void eraseMarker(Side side, int row);
    // The colour of a row's marker; an invalid colour where there is none.
    QColor marker(Side side, int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QColor, kRows> m_left;
    std::array<QColor, kRows> m_right;
};
