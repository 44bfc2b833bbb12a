#pragma once

#include "ui_Invitation_Wizard.h"

#include <QDialog>

#include <functional>
#include <QSizeF>

class QStandardItemModel;

// The start screen: the four-step invitation wizard (card size; background picture; title and
// message; sender, addressee, date, time and venue), opening a saved design, or starting from
// a template. It ends with OK once the card is set up; any other end quits the application.
class Invitation_Wizard : public QDialog
{
    Q_OBJECT

public:
    // The "User Profile…" button: the wizards' profile dialog, for the card being started.
    // The profile button: opens the wizards' profile dialog through `openProfile` (set by the
    // editor window).
    void User_Profile_Click();
    std::function<void()> openProfile;

    explicit Invitation_Wizard(QWidget *parent = nullptr);
    ~Invitation_Wizard() override;

    static Invitation_Wizard *defaultInstance();

    Ui::Invitation_Wizard ui;

    // How the user began: "W" the invitation wizard, "O" a saved design, "T" a template.
    QString start_option;

    // The wizard's card settings, valid after it finished with start option "W".
    QString chosenCategory() const;    // "PVC Card" or "Paper Card"
    QString chosenPreset() const;      // "Horizontal" or "Vertical"
    int chosenSizeRow() const;         // row in the category's size list
    QString chosenSizeName() const;
    QSizeF chosenSizeMm() const;       // width x height in millimetres, turned for "Vertical"
    int chosenShape() const;           // 0 rectangle, 1 rounded rectangle, 2 ellipse

    // Resets every page and shows the start page. Called before each run.
    void resetPages();

    // Fills the date and time format lists (Unicode date patterns) and the background gallery.
    void setDateFormats(const QStringList &patterns);
    void setTimeFormats(const QStringList &patterns);
    void loadBackgrounds(const QString &folder);

    // Runs the start screen modally; returns 1 when the card is ready, else 0.
    int Open_Wnd();

signals:
    // Asked by the start page; the editor opens the design / runs the template gallery and
    // answers through designReady().
    void openDesignRequested();
    void templateRequested();

public slots:
    // The editor loaded a design or template for this start screen: end it with OK.
    void designReady();

private:
    void goToPage(int index);
    void fillSizes();
    void updateSizeLabel();
    void finishWizard();
    void chooseStockText(const QString &kind);
    QString selectedBackground() const;

    QStandardItemModel *m_backgrounds = nullptr;
    QString m_otherBackground;
};
