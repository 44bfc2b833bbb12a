#include "output/OutputGlobals.h"

std::atomic<bool> Stop_SMS_Sending_Now{false};
std::atomic<int> list_count{0};
std::atomic<int> curr_barcode_count{0};
