#pragma once

#include "output/PrintDesign.h"
#include "output/Printing_View.h"
#include "output/SheetLayout.h"
#include "ui_Print_Wnd.h"

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>

#include <array>
#include <memory>

class QButtonGroup;
class QPrinter;

// The print setup window: printer, orientation, sides, card size, rows and columns, gaps,
// placement and the number of cards, with a live preview of one sheet. Preview and Print hand
// the sheets to Qt's print preview or straight to the chosen printer. One instance lives for
// the whole process; its printer (name, paper, orientation) is kept from one opening to the next.
class Print_Wnd : public QDialog
{
    Q_OBJECT

public:
    explicit Print_Wnd(QWidget *parent = nullptr);
    ~Print_Wnd() override;
    static Print_Wnd *defaultInstance();

    Ui::Print_Wnd ui;
    QButtonGroup *matrix_card_side = nullptr;   // 0 both sides, 1 front, 2 back

    // The card pictures rendered at opening (empty until then or when the card cannot be drawn).
    QImage front_image;
    QImage back_image;
    QString card_side_str = QStringLiteral("F");

    // The window's print info: printer, paper and orientation.
    QPrinter *printInfo() const { return m_printer.get(); }
    // Paper of the print info in points, and one card in points.
    QSizeF paperSize() const { return m_paper; }
    QSizeF cardSizePoints() const { return m_cardSize; }

    // The sheet layout the window holds (cell, margins, gaps, rows and columns, placement and
    // sides), and that layout on paper of `paper` points, rows, columns and placement in range.
    SheetLayout &sheet() { return m_layout; }
    SheetLayout sheetLayout(const QSizeF &paper) const;
    SheetLayout sheetLayout() const { return sheetLayout(m_paper); }
    // Whether the sheet preview outlines the cells.
    bool showsOutlines() const { return Show_margin_rect; }

    // Fills the window from `design`, runs it modally and hides it; the result is the run's.
    int Open_Print_Wnd(PrintDesign &design);

    void Set_values_From_Printer();
    void Refresh_Preview();
    // The fit rule: cell size, gaps, rows and columns that fit the paper; the total follows
    // rows times columns without batch data.
    void Check_Max_Cell_Value();
    // Preview (true) or Print (false) of the sheets as laid out now.
    void Execute_Printing(bool preview);
    void PreviewButtonPressed() { Execute_Printing(true); }
    void PrintButtonPressed() { Execute_Printing(false); }
    void CancelButtonPressed();

    void comboBoxSelectionDidChange(QComboBox *list);
    void Show_Margin_Checked();
    void Auto_Center_Checked();
    void Alignment_clicked(int position);
    void Set_Reset_Alignemnt_Image();
    void card_side_CellClick(int row);
    void Print_With_Batch_Changed() { Verify_Card_Count(); }
    void Print_With_Excel_Changed() { Verify_Card_Count(); }
    void Verify_Card_Count();
    // Page Setup: opens on the window's paper, orientation and margins; OK applies what was chosen.
    void pagesetup();
    // The papers Page Setup offers: the printer's, or common sizes when it names none.
    QList<QPageSize> paperChoices() const;

    // What the last preview or print pass did (for its callers and tests).
    const Printing_View::Pass &lastPass() const { return m_lastPass; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fieldChanged();
    // The sheet's thumbnail as large as its place allows.
    void showSheetThumbnail();
    void fillPrinterList();
    bool batchWanted() const;
    Printing_View::Pass runPass(QPrinter &printer, Printing_View &view, bool preview, QString *cupsError);
    void reportSkipped(const Printing_View::Pass &pass);

    std::unique_ptr<QPrinter> m_printer;
    PrintDesign *m_design = nullptr;
    PrintDesign::DataSources m_sources;
    QSizeF m_paper;
    QMarginsF m_chosenMargins;   // margins chosen in Page Setup, in points (none: the printer's)
    QSizeF m_cardSize;
    std::array<QIcon, 9> m_plain, m_selected;
    Printing_View::Pass m_lastPass;
    QImage m_sheetPicture;
    bool m_fitting = false;

    SheetLayout m_layout;
    // Cards to print, and the total frozen when a preview or print starts.
    int Total_Label = 1;
    int Total_Label_Real = 1;
    bool Show_margin_rect = true;
    // The window is being filled; the preview is not refreshed meanwhile.
    bool loading = false;
};
