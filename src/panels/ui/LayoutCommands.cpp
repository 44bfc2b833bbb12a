#include "panels/ui/LayoutCommands.h"

#include "document/DocumentGlobals.h"
#include "document/LMNGrid.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/MessageBoxes.h"
#include "panels/GridCommands.h"
#include "panels/ui/AlignPage.h"
#include "panels/ui/PanelHost.h"
#include "panels/ui/SettingsPanel.h"

LayoutCommands::LayoutCommands(PanelHost *host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
    Ui::AlignPage &page = m_host->settingsPanel()->ui.aligmnt_tab->ui;
    const QList<std::pair<QPushButton *, void (LayoutCommands::*)()>> buttons = {
        {page.Align_Center_btn, &LayoutCommands::Align_Center_Clicked},
        {page.Align_Left_btn, &LayoutCommands::Align_Left_Clicked},
        {page.Align_Right_btn, &LayoutCommands::Align_Right_Clicked},
        {page.Align_Top_btn, &LayoutCommands::Align_Top_Clicked},
        {page.Align_Bottom_btn, &LayoutCommands::Align_Bottom_Clicked},
        {page.Align_Horz_btn, &LayoutCommands::Align_Horz_Clicked},
        {page.Align_Vert_btn, &LayoutCommands::Align_Vert_Clicked},
        {page.Make_Same_Width_btn, &LayoutCommands::Make_Same_Width_Clicked},
        {page.Make_Same_Height_btn, &LayoutCommands::Make_Same_Height_Clicked},
        {page.Make_Natural_btn, &LayoutCommands::Make_Natural_Clicked},
        {page.Align_To_Grid_btn, &LayoutCommands::Align_To_Grid_Clicked},
        {page.Grid_btn, &LayoutCommands::toggleGridShowing}};
    for (const auto &[button, action] : buttons)
        connect(button, &QPushButton::clicked, this, action);
}

LMNGraphicView *LayoutCommands::sideCanvas() const
{
    return m_host->sideCanvas(Card_Front_Or_Back != 0 ? 1 : 0);
}

void LayoutCommands::run(void (LMNGraphicView::*command)())
{
    (sideCanvas()->*command)();
    m_host->Refresh_Canvas();
}

void LayoutCommands::Align_Center_Clicked() { run(&LMNGraphicView::alignformCenter); }
void LayoutCommands::Align_Left_Clicked() { run(&LMNGraphicView::alignLeftEdges); }
void LayoutCommands::Align_Right_Clicked() { run(&LMNGraphicView::alignRightEdges); }
void LayoutCommands::Align_Top_Clicked() { run(&LMNGraphicView::alignTopEdges); }
void LayoutCommands::Align_Bottom_Clicked() { run(&LMNGraphicView::alignBottomEdges); }
void LayoutCommands::Align_Horz_Clicked() { run(&LMNGraphicView::alignHorizontalCenters); }
void LayoutCommands::Align_Vert_Clicked() { run(&LMNGraphicView::alignVerticalCenters); }
void LayoutCommands::Make_Natural_Clicked() { run(&LMNGraphicView::makeNaturalSize); }

void LayoutCommands::Make_Same_Width_Clicked()
{
    if (sideCanvas()->selectedGraphics().size() < 2) {
        Show_MessageBox(QStringLiteral("Please select more than one control."));
        return;
    }
    run(&LMNGraphicView::makeSameWidth);
}

void LayoutCommands::Make_Same_Height_Clicked()
{
    if (sideCanvas()->selectedGraphics().size() < 2) {
        Show_MessageBox(QStringLiteral("Please select more than one control."));
        return;
    }
    run(&LMNGraphicView::makeSameHeight);
}

void LayoutCommands::Align_To_Grid_Clicked()
{
    if (!m_host->panelGrid()->isAlwaysShown()) {
        Show_MessageBox(QStringLiteral("Please use grid option first."));
        return;
    }
    run(&LMNGraphicView::alignWithGrid);
}

void LayoutCommands::toggleGridShowing()
{
    m_host->openGridWindow();
}

void LayoutCommands::toggleGridConstraining()
{
    GridCommands::toggleGridConstraining(*m_host->panelGrid());
}
