#pragma once

#include <QObject>

class LMNDocument;

// The number of the run of edits the settings panel is in. Edits recorded in one run fold
// into one undo step (a slider drag, typing in one field, the several write-backs of one
// click). A new run starts when the user presses a mouse button, when the keyboard focus
// moves, when the panel shows another element or the card, and after undo and redo.
class EditRun : public QObject
{
    Q_OBJECT

public:
    explicit EditRun(QObject *parent = nullptr);

    int current() const { return m_run; }
    void startNew() { ++m_run; }

    // Undo and redo in this document start a new run (recording edits does not).
    void watch(LMNDocument *document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_run = 0;
};
