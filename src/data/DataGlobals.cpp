#include "data/DataGlobals.h"

std::atomic<int> Excel_Sheet_Number{1};
std::atomic<int> Excel_Sheet_Columns{1};
SpreadsheetWriter *spreadsheet = nullptr;
