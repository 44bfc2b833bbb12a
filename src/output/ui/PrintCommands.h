#pragma once

class LMNWindowController;

// The editor's Print command.
namespace PrintCommands {

// Checks the data sources ("List is empty.") and the printers ("No printer found."), then
// opens the print setup window on the open design.
void Print_Button(LMNWindowController *window);

} // namespace PrintCommands
