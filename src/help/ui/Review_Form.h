#pragma once

#include "ui_Review_Form.h"

#include <QDialog>

// The review window shown as the application ends: OK and Review both open the maker's review
// page and end the run with 1.
class Review_Form : public QDialog
{
    Q_OBJECT

public:
    explicit Review_Form(QWidget *parent = nullptr);
    static Review_Form *defaultInstance();

    Ui::Review_Form ui;

    void OK_Clicked();
    void Review_Clicked();
    // Opens an address; one that no program takes is named in a message.
    static void Open_Link(const QString &address);
    int Open_Review_Form_Window();
};

