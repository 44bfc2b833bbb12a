#pragma once

#include "output/MailCardSource.h"

class LMNWindowController;

// The send window's view of the open design: its cards, taken as a snapshot at Send.
class EditorMailCardSource : public MailCardSource
{
public:
    explicit EditorMailCardSource(LMNWindowController *window);

    void sourcesInUse(bool *series, bool *spreadsheet) override;
    std::unique_ptr<MailCards> takeCards(bool useSeries, bool useSpreadsheet) override;
    void restoreFirstRecord() override;

private:
    LMNWindowController *m_window;
};
