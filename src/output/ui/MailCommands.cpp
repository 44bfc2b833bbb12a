#include "output/ui/MailCommands.h"

#include "data/DataBinding.h"
#include "data/DataGlobals.h"
#include "data/ui/CardSnapshotTaker.h"
#include "document/EditorHost.h"
#include "output/SnapshotMailCards.h"
#include "output/ui/Send_Mail.h"

namespace MailCommands {

void Mail_Button(EditorHost *window)
{
    EditorCards cards(window);
    Send_Mail::defaultInstance()->Open_Wnd(&cards);
}

void EditorCards::sourcesInUse(bool *series, bool *spreadsheet)
{
    CardSnapshotTaker::checkSources(*m_window);
    *series = Use_Data_Sheet_Values;
    *spreadsheet = Use_Excel_Binding_Values;
}

std::unique_ptr<MailCards> EditorCards::takeCards(bool useSeries, bool useSpreadsheet)
{
    // Sources whose box is not ticked stay off until the next check.
    if (!useSeries)
        Use_Data_Sheet_Values = false;
    if (!useSpreadsheet)
        Use_Excel_Binding_Values = false;
    DataBinding::Get_total_Card_count();
    return std::make_unique<SnapshotMailCards>(CardSnapshotTaker::take(*m_window));
}

void EditorCards::restoreFirstRecord()
{
    CardSnapshotTaker::Select_first_row_value_for_design(*m_window, 0);
}

} // namespace MailCommands
