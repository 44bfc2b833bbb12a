#include "data/DataGlobals.h"

std::atomic<int> Excel_Sheet_Number{1};
SpreadsheetWriter *spreadsheet = nullptr;

bool Use_Data_Sheet_Values = false;
bool Use_Excel_Binding_Values = false;
int Data_table_rows = 0;
int Excel_table_rows = 0;
int Total_Batch_Excel_Card = 0;
QStringList data_table_names;
QList<QStringList> data_table_content;
QMap<QString, QString> data_table_refusals;
QString export_card_side = QStringLiteral("F");
