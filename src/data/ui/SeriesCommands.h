#pragma once

// The editor's Data menu commands, for the editor window's forwarders (no form headers here).
namespace SeriesCommands {
// The data-series manager.
void openSeriesManager();
// The series generator, writing a new series.
void openSeriesGenerator();
// The series import wizard, writing a new series.
void openImportWizard();
// The spreadsheet data table.
int openDataTable();
} // namespace SeriesCommands
