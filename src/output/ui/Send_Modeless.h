#pragma once

#include "ui_Send_Modeless.h"
#include "dialogs/ui/SharedWindow.h"

#include <QDialog>
#include <QTimer>

// The progress sheet of batch export and e-mail sending: the run's total, the item in work,
// a progress bar and the Stop button. It is window-modal over the window the run belongs to
// and never blocks; the run's workers only publish the atomics of OutputGlobals.h, and the
// sheet's own 0.5 s timer on the main thread shows them.
class Send_Modeless : public QDialog
{
    Q_OBJECT

public:
    // The one sheet; made again if the window it was shown over has gone.
    static Send_Modeless *defaultInstance();

    Ui::Send_Modeless ui;

    // Steps 1 to 3 of a run: clears the stop request, sets list_count and curr_barcode_count,
    // enables Stop, sets the bar to 0 of `total`, the total label and the start label made
    // from `startFormat` ("%1 / %2 Card" for the export, "%1 / %2" for e-mail).
    void prepare(int total, const QString &startFormat);
    // Shows the sheet over `window` and starts the timer; end() stops the timer and hides it.
    void begin(QWidget *window);
    void end();
    bool isTimerRunning() const { return m_timer.isActive(); }

    // One timer tick: the bar's value and "%d / %d " from curr_barcode_count and list_count.
    void update_sending_progress_bar();
    // Stop: asks "Are you sure you want to continue?"; Yes raises Stop_SMS_Sending_Now.
    void Stop_Sending_Pressed();

protected:
    void reject() override;   // Escape does not close the sheet: the run ends it

private:
    template <class Window>
    friend Window *sharedWindow(QWidget *parent);
    explicit Send_Modeless(QWidget *parent = nullptr);

    QTimer m_timer;
};
