#pragma once

#include "data/CardRecordRenderer.h"
#include "document/LMNGraphic.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class LMNImage;
class SpreadsheetTable;

// The binding of card elements to data series and spreadsheet columns: which sources a design
// uses, how many cards a batch run has, the binding table, the value of record r (from 0) for
// an element, and the filling of a list of elements with one record.
//
// The Check_ functions and Get_total_Card_count work on the design's own lists and write the
// process-wide binding state (DataGlobals.h): main thread only. The value lookups and
// Assign_Batch_Values_To_Control read only a CardSnapshot and the elements they are given, so
// batch runs call them on worker threads with element clones.
class DataBinding
{
public:
    // Whether an element takes part in binding at all: exactly a text, picture or barcode.
    static bool takesPart(const LMNGraphic &graphic);
    // Whether an element of `side` that takes part is bound to `sourceType` (1 series, 2 column).
    static bool sideUses(const GraphicList &side, int sourceType);

    static bool Check_Front_Side_Dataset_Is_Used(const GraphicList &front) { return sideUses(front, 1); }
    static bool Check_Back_Side_Dataset_Is_Used(const GraphicList &back) { return sideUses(back, 1); }
    static bool Check_Front_Side_Excel_Binding_Is_Used(const GraphicList &front) { return sideUses(front, 2); }
    static bool Check_Back_Side_Excel_Binding_Is_Used(const GraphicList &back) { return sideUses(back, 2); }

    // Decides the sources in use and the card count afresh: Check_Data_Sheet_Value_Use_or_Not,
    // Check_Excel_Binding_Value_Use_or_Not, then Get_total_Card_count. The back counts only
    // when the card has two sides.
    static void Check_Series_Or_Excel_Use_or_not(const GraphicList &front, const GraphicList &back, bool twoSided);
    static void Check_Data_Sheet_Value_Use_or_Not(const GraphicList &front, const GraphicList &back, bool twoSided);
    static void Check_Excel_Binding_Value_Use_or_Not(const GraphicList &front, const GraphicList &back, bool twoSided);
    // Row counts of the sources still in use, and Total_Batch_Excel_Card the larger of them.
    // Callers that switch a source off clear its flag and call this again.
    static void Get_total_Card_count();

    // Rebuilds the binding table from the series folder and the bound elements. A bound
    // element's series is found by its name; its stored index is brought up to date.
    static void Create_Dataset_binding_table(const GraphicList &front, const GraphicList &back, bool twoSided);
    // Loads the values of series `name` into table entry `index`; a missing file or an index
    // outside the table leaves the table as it was.
    static void Add_dataset_col_in_binding_table(const QString &name, int index);
    // The length of the longest loaded table entry (0 without one).
    static int Calculate_data_table_rows();

    // The table index of an element's series, found by its batch_list_name; -1 for a name that
    // is not a usable series name or is not in `names`.
    static int seriesIndexFor(const LMNGraphic &graphic, const QStringList &names);

    // Value r of table entry c; empty when c or r lies outside the table or the entry.
    static QString Get_sel_row_col_value_of_dataset(int record, int column, const QList<QStringList> &table);
    // Column c of spreadsheet record r; empty when r is not below `rows` or outside the table.
    static QString Get_sel_row_col_value_of_Excel(int record, int column, const SpreadsheetTable &table, int rows);

    // The trimmed value of record r for `graphic`; false when the element is not filled from
    // a source in use (its current value stays).
    static bool recordValue(const LMNGraphic &graphic, int record, const CardSnapshot &snapshot, QString *value);

    // Fills the elements that take part with record r, index 0 first: texts get the value,
    // pictures load it as their path, barcodes get a picture of it made from their own
    // settings. An empty value empties the text and the picture; a barcode of an empty value
    // has no picture and, with `hideUnmade`, is hidden instead of showing the sample.
    // False with the reason when a barcode cannot encode its value (the elements before it
    // are filled). Each picture path that is not empty but gives no picture is added to
    // `missingPictures`. A picture loader, when given, gives each picture element the picture
    // of its path (a batch run keeps them ready at the size they are drawn at); without one
    // each picture element reads its file.
    using PictureLoader = std::function<void(LMNImage &image, const QString &path)>;
    static bool Assign_Batch_Values_To_Control(GraphicList &elements, int record, const CardSnapshot &snapshot,
                                               bool hideUnmade, QString *failure = nullptr,
                                               QStringList *missingPictures = nullptr,
                                               const PictureLoader &loadPicture = {});

    // The binding state and data of the open design, copied for a run (main thread): the use
    // flags and row counts as they stand, the binding table and the spreadsheet records.
    // The caller supplies the side clones, card size and background painters.
    static void copyBindingState(CardSnapshot &snapshot);

    // Values shown by the property panel while binding.
    static QString Get_First_Value_Of_Dataset(const QString &name);
    static QString Get_First_Value_Of_Excel_Binding(int column);
};
