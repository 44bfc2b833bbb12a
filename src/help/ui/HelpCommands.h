#pragma once

#include <QString>

class Help_Support;
class QWidget;
class Review_Form;
class Share_It_Dlg;

// The help, sharing and link commands of the editor window. The link commands open one of the
// maker's addresses and need no window; the help and share windows are made once, over the
// window the commands were made for, and kept.
class HelpCommands
{
public:
    explicit HelpCommands(QWidget *window);

    // --- Links (the help windows' buttons use them too) ---
    static void Open_Support_Mail();
    static void Open_Reseller_Mail();
    static void Open_Website_1();
    static void Open_Website_2();
    static void Open_Website_3();
    static void Open_FaceBook();
    static void Open_Twitter();
    static void Open_FB_Like();
    static void Open_Share_It_Dl();
    static void Share_It_Button_Clicked();

    // --- Windows ---
    void Help_Button();
    void Show_Share_It_Window();
    // Runs the review window, the last window of a run.
    void Show_Review_Window();
    // The promotion commands: `code` "S", "R" or "B".
    void Open_Promotion(const QString &code);

    Help_Support *helpWindow() const { return HelpWindow; }
    Share_It_Dlg *shareWindow() const { return Share_It_Dlg_Window; }

private:
    QWidget *m_window;
    Help_Support *HelpWindow = nullptr;
    Share_It_Dlg *Share_It_Dlg_Window = nullptr;
    Review_Form *Review_Window = nullptr;
};
