#pragma once

#include <QObject>

class PanelHost;
class LMNGraphicView;

// The layout commands of the alignment page and the Arrange menu: they act on the canvas of
// the side in work, check the selection where a command needs one, and redraw.
class LayoutCommands : public QObject
{
    Q_OBJECT

public:
    LayoutCommands(PanelHost *host, QObject *parent = nullptr);

    void Align_Center_Clicked();
    void Align_Left_Clicked();
    void Align_Right_Clicked();
    void Align_Top_Clicked();
    void Align_Bottom_Clicked();
    void Align_Horz_Clicked();
    void Align_Vert_Clicked();
    // Need two or more selected elements: "Please select more than one control."
    void Make_Same_Width_Clicked();
    void Make_Same_Height_Clicked();
    void Make_Natural_Clicked();
    // Needs the grid shown: "Please use grid option first."
    void Align_To_Grid_Clicked();

    // Opens the grid window; the grid keeps what was set there, OK or Cancel.
    void toggleGridShowing();
    void toggleGridConstraining();

private:
    LMNGraphicView *sideCanvas() const;
    void run(void (LMNGraphicView::*command)());

    PanelHost *m_host;
};
