#pragma once

class EditorHost;
class PrintDesign;

// The editor's Print command.
namespace PrintCommands {

// Checks the data sources ("List is empty.") and the printers ("No printer found."), then
// opens the print setup window on the open design.
void Print_Button(EditorHost *window);

// The same checks and opening for any design (the command's own steps after the design is known).
void openPrintWindow(PrintDesign &design);

} // namespace PrintCommands
