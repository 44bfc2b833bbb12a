// The sheet arithmetic against the worked examples: the fit rule and where cells and cards lie,
// checked in Qt's top-left coordinates of an A4 sheet (595 x 842 points).

#include "output/SheetLayout.h"

#include <gtest/gtest.h>

namespace {

SheetLayout a4(float margin, float W, float H, int rows, int cols)
{
    SheetLayout l;
    l.paper = QSizeF(595, 842);
    l.L = l.R = l.T = l.B = margin;
    l.W = W;
    l.H = H;
    l.rows = rows;
    l.cols = cols;
    return l;
}

struct FitCase
{
    const char *name;
    SheetLayout request;
    int cols, rows;
    float W, H, gh;
};

} // namespace

TEST(SheetLayoutTest, FitRuleWorkedExamples)
{
    auto with = [](SheetLayout l, auto change) { change(l); return l; };
    const SheetLayout card = a4(0, 243, 154, 1, 2);
    const FitCase cases[] = {
        {"five columns fall to floor(595 / 243)", with(card, [](SheetLayout &l) { l.cols = 5; }), 2, 1, 243, 154, 0},
        {"two columns fit", card, 2, 1, 243, 154, 0},
        {"auto-centre shares the free width", with(card, [](SheetLayout &l) { l.autoCenter = true; }), 2, 1, 243, 154,
         (595.0f - 486.0f) / 3},
        {"auto-centre: three fall to two, gap 0",
         with(card, [](SheetLayout &l) { l.autoCenter = true; l.cols = 3; }), 2, 1, 243, 154, 0},
        {"free width exactly 0 is recomputed and kept",
         with(card, [](SheetLayout &l) { l.paper = QSizeF(486, 842); }), 2, 1, 243, 154, 0},
        {"both sides above each other double the height",
         with(card, [](SheetLayout &l) { l.side = "BOTH"; l.algn = "U"; l.cols = 1; }), 1, 1, 243, 308, 0},
        {"both sides beside each other double the width",
         with(card, [](SheetLayout &l) { l.side = "BOTH"; l.algn = "L"; l.cols = 3; }), 1, 1, 486, 154, 0},
        {"a card of width 0 leaves one column",
         with(card, [](SheetLayout &l) { l.W = 0; l.L = l.R = 300; l.cols = 4; }), 1, 1, 0, 154, 0},
        // A typed gap counts: 3 x 190 + 2 x 20 runs past 595, and (595 + 20) / 210 leaves two; the same
        // down the sheet with 270-point cards and 20-point gaps. A gap that fits keeps the count.
        {"typed gaps take a column and a row away",
         with(card, [](SheetLayout &l) { l.W = 190; l.H = 270; l.cols = l.rows = 3; l.gh = l.gv = 20; }), 2, 2, 190,
         270, 20},
        {"a typed gap that fits keeps the columns",
         with(card, [](SheetLayout &l) { l.W = 190; l.cols = 3; l.gh = 5; }), 3, 1, 190, 154, 5},
        {"auto-centre with width 0 and no room leaves one column",
         with(card, [](SheetLayout &l) { l.W = 0; l.L = l.R = 300; l.cols = 4; l.autoCenter = true; }), 1, 1, 0,
         154, 0},
    };
    for (const FitCase &c : cases) {
        SCOPED_TRACE(c.name);
        const SheetLayout fit = c.request.fitted();
        EXPECT_EQ(fit.cols, c.cols);
        EXPECT_EQ(fit.rows, c.rows);
        EXPECT_FLOAT_EQ(fit.W, c.W);
        EXPECT_FLOAT_EQ(fit.H, c.H);
        EXPECT_NEAR(fit.gh, c.gh, 1e-3);
    }
}

TEST(SheetLayoutTest, CellsAndCardsOfTheWorkedExamples)
{
    struct Case
    {
        const char *name;
        SheetLayout layout;
        QSizeF card;
        int row, column;
        QRectF cell, front, back;
    };
    SheetLayout position1 = a4(18, 243, 154, 2, 2);
    SheetLayout position5 = position1;
    position5.align = 5;
    SheetLayout centred = position1;
    centred.autoCenter = true;
    centred = centred.fitted();
    const float gh = (559.0f - 486.0f) / 3, gv = (806.0f - 308.0f) / 3;
    SheetLayout bothU = a4(18, 243, 154, 2, 2);
    bothU.side = "BOTH";
    SheetLayout bothUTall = bothU;
    bothUTall.H = 200;
    SheetLayout bothL = a4(0, 300, 100, 1, 1);
    bothL.side = "BOTH";
    bothL.algn = "L";

    const Case cases[] = {
        // Bottom-left row 1 at y 670 and row 2 at 516: top edges 18 and 172.
        {"position 1, first cell", position1, {243, 154}, 1, 1, {18, 18, 243, 154}, {18, 18, 243, 154}, {}},
        {"position 1, row 2 column 2", position1, {243, 154}, 2, 2, {261, 172, 243, 154}, {261, 172, 243, 154}, {}},
        // Column 1 at 18 + 36.5, row 1 at y 421 (top 267).
        {"position 5", position5, {243, 154}, 1, 1, {54.5, 267, 243, 154}, {54.5, 267, 243, 154}, {}},
        // Column 1 at 18 + gh, row 1 at y = 18 + 2 gv + 154.
        {"auto-centre", centred, {243, 154}, 1, 1, {18 + gh, 842 - (18 + 2 * gv + 154) - 154, 243, 154},
         {18 + gh, 842 - (18 + 2 * gv + 154) - 154, 243, 154}, {}},
        {"auto-centre, column 2", centred, {243, 154}, 1, 2, {18 + 2 * gh + 243, 842 - (18 + 2 * gv + 154) - 154, 243, 154},
         {18 + 2 * gh + 243, 842 - (18 + 2 * gv + 154) - 154, 243, 154}, {}},
        // Both sides "U", the cell exactly two cards high: front upper half, back lower half.
        {"both sides U", bothU, {243, 77}, 1, 1, {18, 18, 243, 154}, {18, 18, 243, 77}, {18, 95, 243, 77}},
        // A taller cell: the pair stays at the top, the spare height below the back.
        {"both sides U, taller cell", bothUTall, {243, 77}, 1, 1, {18, 18, 243, 200}, {18, 18, 243, 77},
         {18, 95, 243, 77}},
        // Both sides "L": the pair centred in the cell, the back right of the front.
        {"both sides L", bothL, {120, 80}, 1, 1, {0, 0, 300, 100}, {30, 10, 120, 80}, {150, 10, 120, 80}},
    };
    auto near = [](const QRectF &a, const QRectF &b) {
        return std::abs(a.x() - b.x()) < 1e-3 && std::abs(a.y() - b.y()) < 1e-3
               && std::abs(a.width() - b.width()) < 1e-3 && std::abs(a.height() - b.height()) < 1e-3;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const SheetLayout::Cell cell = c.layout.cell(c.row, c.column, c.card);
        EXPECT_TRUE(near(cell.cell, c.cell)) << cell.cell.x() << "," << cell.cell.y();
        EXPECT_TRUE(near(cell.front, c.front)) << cell.front.x() << "," << cell.front.y();
        EXPECT_TRUE(near(cell.back, c.back)) << cell.back.x() << "," << cell.back.y();
        EXPECT_EQ(cell.number, (c.row - 1) * c.layout.cols + c.column);
    }
}
