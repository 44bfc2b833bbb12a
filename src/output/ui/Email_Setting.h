#pragma once

#include "ui_Email_Setting.h"

#include <QDialog>

// The e-mail settings dialog: edits the settings file, checks what was typed and sends a test
// mail with the values in the fields. It shows the file's content each time it opens.
class Email_Setting : public QDialog
{
    Q_OBJECT

public:
    explicit Email_Setting(QWidget *parent = nullptr);
    static Email_Setting *defaultInstance();

    Ui::Email_Setting ui;

    void Open_Wnd();
    void loadPreferences();
    void SSL_Selected();
    void TLS_Selected();
    void Save_Button();
    void Close_Button();
    // False, after a message, when the settings file could not be written.
    bool flushPreferences();
    void Reset_Button();
    // 1 when the fields pass; else 0 after the message, with the keyboard focus on the field.
    int Check_Validation(bool test);
    void Send_Test_Email();

    // "Y" when SSL is ticked and TLS is not, else "N".
    QString sslFlag() const;

protected:
    void reject() override;

private:
    void setSsl(bool ssl);

    bool m_sending = false;
};
