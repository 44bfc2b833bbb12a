#include "data/ui/SeriesCommands.h"

#include "data/ui/BatchWizard.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"

namespace SeriesCommands {

void openSeriesManager()
{
    BatchWizard::defaultInstance()->Open_Wnd();
}

void openSeriesGenerator()
{
    Generate_List *generator = Generate_List::defaultInstance();
    generator->file_name_required = 1;
    generator->file_name_Insert = 0;
    generator->Open_Wnd();
}

void openImportWizard()
{
    Import_Wizard *wizard = Import_Wizard::defaultInstance();
    wizard->file_name_required = 1;
    wizard->file_name_Insert = 0;
    wizard->Open_Wnd();
}

int openDataTable()
{
    return Data_From_Excel::defaultInstance()->Open_Wnd();
}

} // namespace SeriesCommands
