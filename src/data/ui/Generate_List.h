#pragma once

#include "ui_Generate_List.h"

#include "data/SeriesGenerator.h"

#include <QDialog>

// The series generator: sequential numbers, a constant value, or random numbers of a given
// length, written as a new series or handed to the manager's value list.
class Generate_List : public QDialog
{
    Q_OBJECT

public:
    explicit Generate_List(QWidget *parent = nullptr);
    static Generate_List *defaultInstance();

    Ui::Generate_List ui;
    int file_name_required = 0;   // 1: write a new series file; else fill the manager's values
    int file_name_Insert = 0;     // 1: refill the manager's series list when done

    // Resets the controls and runs the dialog; 1 after a completed OK, 0 after Cancel.
    int Open_Wnd();

    void Sequintial_Radio_Pressed();
    void Constant_Radio_Pressed();
    void Random_Radio_Pressed();
    void OKPressed();
    void CancelPressed();
    void Help_btn_Pressed();

    SeriesGenerator::Mode mode() const { return m_mode; }

private:
    void setMode(SeriesGenerator::Mode mode);
    void cleanField(QLineEdit *field, QSpinBox *stepper, int maxChars, int maxValue);
    SeriesGenerator::Request request() const;
    QLineEdit *nameField() const;

    SeriesGenerator::Mode m_mode = SeriesGenerator::Mode::Sequential;
};
