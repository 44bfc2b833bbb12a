#pragma once

// Process-wide state of printing, e-mail and the progress sheet they share with batch export.

#include <atomic>

// Stop request of the running batch (export or e-mail): cleared by each run at its start,
// set by the progress sheet's Stop button after Yes, tested by the run before each item.
extern std::atomic<bool> Stop_SMS_Sending_Now;
// Items of the running batch, set by the run at its start.
extern std::atomic<int> list_count;
// Number (from 1) of the item the run is producing; 0 before the first.
extern std::atomic<int> curr_barcode_count;
