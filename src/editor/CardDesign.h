#pragma once

#include "document/LMNGraphic.h"
#include "panels/Card_Property.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Everything one design holds, as plain values: what the design file stores and what
// opening one hands back to the editor all at once.
struct CardDesign
{
    // The background records of the two sides (their pictures are not part of a design: the
    // editor loads them again from Card_BG_Image_Path).
    Card_Property Front_card_Prop;
    Card_Property Back_card_Prop;
    // The sheet's shape number (0 rectangle, 1 rounded, 2 ellipse). The file keeps it as the
    // records' shape text; the number is what the drawing uses.
    int Card_Shape = 0;

    // The spreadsheet binding: whether it is in use, the workbook it came from, the titles of
    // the data table's columns (the row-number column first) and its records, one dictionary
    // of strings per row ("Extension" and "Column1", "Column2", ...).
    bool Excel_Binding_Use = false;
    QString Excel_Source_Path;
    QStringList Excel_Column_Titles;
    QList<QMap<QString, QString>> Excel_Records;

    // The elements of the front and of the back side, index 0 the topmost.
    GraphicList graphics;
    GraphicList graphics_back;

    // Not stored: what opening the design could not take back, one message for each element
    // whose stored picture could not be read (LMNGraphicArchive::PictureLosses). The editor
    // shows them once the design is open.
    QStringList lostPictures;
};
