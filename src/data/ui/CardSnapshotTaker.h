#pragma once

#include "data/CardRecordRenderer.h"

class EditorHost;

// The main-thread side of the record-to-card road: decides the data sources of the open
// design, copies what a run needs into a CardSnapshot, and puts record 0 back into the front
// side when a run ends. Batch export, printing and e-mail each call these on the main thread
// and hand the snapshot to a CardRecordRenderer that their workers use.
class CardSnapshotTaker
{
public:
    // Check_Series_Or_Excel_Use_or_not on the editor's sides (the back only on a two-sided card).
    static void checkSources(EditorHost &editor);
    // A snapshot of the editor's design with the binding state as it stands now (after the
    // caller switched sources off and recounted, if it did).
    static CardSnapshot take(EditorHost &editor);
    // The front side shows record 0 again; clears Card_Value_In_Process and repaints.
    static void Select_first_row_value_for_design(EditorHost &editor, int printBox);
};
