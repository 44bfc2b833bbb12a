#pragma once

#include "output/MailCardSource.h"

class EditorHost;

// The editor's Mail command and the send window's view of the open design.
namespace MailCommands {

// Decides the data sources in use, then opens the send window on the editor's design.
void Mail_Button(EditorHost *window);

// The open design's cards through the record-to-card road, taken as a snapshot at Send.
class EditorCards : public MailCardSource
{
public:
    explicit EditorCards(EditorHost *window) : m_window(window) {}

    void sourcesInUse(bool *series, bool *spreadsheet) override;
    std::unique_ptr<MailCards> takeCards(bool useSeries, bool useSpreadsheet) override;
    void restoreFirstRecord() override;

private:
    EditorHost *m_window;
};

} // namespace MailCommands
