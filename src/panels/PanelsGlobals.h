#pragma once

// Process-wide state of the property panels and the card background.

#include <QString>

#include <atomic>

// The shape of the card sheet: 0 rectangle, 1 rounded rectangle (corner radius 10 points),
// 2 ellipse; any other value draws as the rectangle. Read by renderers on worker threads.
extern std::atomic<int> Card_Shape;

// "2" for a two-sided card, "1" for the front only.
extern QString CARD_SIDE_STR;

// The loading guard: set while the settings panel is filled from a model, so that handlers
// which write controls back into the model return at once. Main thread only.
extern bool Not_Draw_Only_Prop_Change;

// Sets the loading guard for its lifetime and clears it on every way out, a failure included.
class LoadingGuard
{
public:
    LoadingGuard() { Not_Draw_Only_Prop_Change = true; }
    ~LoadingGuard() { Not_Draw_Only_Prop_Change = false; }
    LoadingGuard(const LoadingGuard &) = delete;
    LoadingGuard &operator=(const LoadingGuard &) = delete;
};

// The path chosen in the picture library when it last ended with OK.
extern QString lib_window_sel_file;
