#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

// Where the cells and cards of one sheet lie. The arithmetic works, as the layout has always
// been described, in points with the origin at the bottom-left of the paper and y growing
// upwards, in single precision; toQt() turns a rectangle into Qt's top-left coordinates once,
// at the end. Every function is pure: the same record gives the same sheet, on any thread.
struct SheetLayout
{
    QSizeF paper;               // Pw, Ph
    float W = 0, H = 0;         // one cell
    float L = 0, R = 0, T = 0, B = 0;
    float gh = 0, gv = 0;       // gap between columns, between rows
    int rows = 1, cols = 1;
    int align = 1;              // 1 top left ... 9 bottom right, row by row
    bool autoCenter = false;
    QString side = QStringLiteral("F");   // "BOTH", "F", "B"
    QString algn = QStringLiteral("U");   // "U" front above back, "L" front left of back

    bool bothSides() const { return side == QLatin1String("BOTH"); }
    int cellsPerSheet() const { return rows * cols; }
    float usableWidth() const { return float(paper.width()) - L - R; }
    float usableHeight() const { return float(paper.height()) - T - B; }
    float blockWidth() const { return cols * W + (cols - 1) * gh; }
    float blockHeight() const { return rows * H + (rows - 1) * gv; }

    // The fit rule. This record holds one card's size in W and H, the typed gaps, rows and
    // columns; the result holds the cell size (doubled for both sides), the gaps (auto-centre
    // computes them) and the rows and columns that fit, never fewer than one. A card or gap
    // that leaves nothing to divide by counts as one cell.
    SheetLayout fitted() const;

    // Bottom edge of row `row` and left edge of column `column` (both from 1), bottom-left.
    float rowBottom(int row) const;
    float columnLeft(int column) const;
    // The part of the cell at (x, y) that shows the card (the upper or left half for both sides).
    QRectF cardPart(float x, float y) const;
    // The front card of `card` size centred in `part` as the layout centres it, and the back
    // card beside it (below with "U", right with "L").
    QRectF cardRect(const QRectF &part, const QSizeF &card) const;
    QRectF backCardRect(const QRectF &front) const;

    // A bottom-left rectangle in Qt's top-left coordinates of the paper.
    QRectF toQt(const QRectF &bottomLeft) const;

    // Cell (row, column), from 1, in Qt coordinates.
    struct Cell
    {
        int number = 0;         // (row - 1) * cols + column
        QRectF cell, part, front, back;
    };
    Cell cell(int row, int column, const QSizeF &card) const;
};
