#pragma once

#include "ui_Template_Wizard.h"

#include <QDialog>

#include <functional>

class QStandardItemModel;

// The template gallery: the stock designs of "Templates" and the user's own of
// "Templates/User", each shown by its preview picture (same base name, "png").
class Template_Wizard : public QDialog
{
    Q_OBJECT

public:
    // The "User Profile…" button: the wizards' profile dialog, for the card being started.
    // The profile button: opens the wizards' profile dialog through `openProfile` (set by the
    // editor window).
    void User_Profile_Click();
    std::function<void()> openProfile;

    explicit Template_Wizard(QWidget *parent = nullptr);
    static Template_Wizard *defaultInstance();

    Ui::Template_Wizard ui;

    // The design file of the chosen template, after Open_Wnd answered 1.
    QString selected_template;

    // Lists the templates under `templatesFolder`; runs the gallery; 1 when one was chosen.
    int Open_Wnd(const QString &templatesFolder);

    // Design files of the folder and of its "User" subfolder, stock first, each in name order.
    static QStringList templateFiles(const QString &templatesFolder);

private:
    QStandardItemModel *m_model = nullptr;
};
