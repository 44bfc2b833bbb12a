#pragma once

// What the workbook part, its relationships and the style part of an unpacked .xlsx workbook
// say about its worksheets: their names in tab order with the worksheet file each stands
// for, the date system, and the date or time format of each cell style.

#include "data/CellNumberFormat.h"

#include <QList>
#include <QString>

#include <optional>

class WorkbookParts
{
public:
    struct Sheet
    {
        QString name;   // as the workbook's tab shows it
        QString file;   // the worksheet file's name without extension ("sheet3")
    };

    // Reads "xl/workbook.xml", "xl/_rels/workbook.xml.rels" and "xl/styles.xml" under the
    // unpacked workbook `folder`. A missing or unreadable part adds nothing: no names, the
    // 1900 date system, no date formats.
    static WorkbookParts read(const QString &folder);

    // The sheets the workbook lists, in tab order, that are worksheets.
    QList<Sheet> sheets;
    // True when the workbook counts days from 1 January 1904.
    bool date1904 = false;

    // The date or time format of cell style `style` (the cell's "s" index), or null when
    // cells of that style show no date or time.
    const CellNumberFormat *dateTimeFormat(int style) const;

private:
    // One per cell style; empty where the style shows no date or time.
    QList<std::optional<CellNumberFormat>> m_styleFormats;
};
