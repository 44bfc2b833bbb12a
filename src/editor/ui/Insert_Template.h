#pragma once

#include "ui_Insert_Template.h"

#include <QDialog>

// The stock-text picker: a list of ready-made titles ("Title.txt") or messages ("Message.txt")
// from the resource folder, one entry per line.
class Insert_Template : public QDialog
{
    Q_OBJECT

public:
    explicit Insert_Template(QWidget *parent = nullptr);
    static Insert_Template *defaultInstance();

    Ui::Insert_Template ui;

    // "T" lists titles, "M" messages; set before Open_Template_Dialog.
    QString title_or_msg = QStringLiteral("T");

    // Runs the picker; 1 when an entry was chosen (it is then in Template_Msg_Val), else 0.
    int Open_Template_Dialog();

    // The entries of a stock-text file: its non-empty lines, trimmed.
    static QStringList readEntries(const QString &path);
};
