#pragma once

#include "document/ElementStateChange.h"
#include "document/GraphicEditCommand.h"

#include <functional>

// Changes settings of elements (what the settings panel, the barcode designer or the sender
// profile write into them): undo puts back the fields as they were, redo as they became.
//
// Edits made in one go (a slider drag, typing in one field, the write-backs of one click)
// fold into one step: commands carrying the same run number (>= 0) that change the same
// elements of the same list merge. Whoever records edits starts a new run when the control,
// the selection or the focus changes.
class SetPropertiesCommand : public GraphicEditCommand
{
public:
    SetPropertiesCommand(LMNDocument *document, GraphicList *list, ElementStateChange change, const QString &text,
                         int run = -1);

    // Runs `edit`, which changes some of `elements` directly, and records what it changed as
    // one already applied step named `text` (named after the changed fields when empty).
    // Nothing is recorded when nothing changed. Returns whether a step was recorded.
    static bool record(LMNDocument *document, GraphicList *list, const GraphicList &elements,
                       const std::function<void()> &edit, const QString &text = {}, int run = -1);

    // What a user calls a stored field ("Font", "Brightness"; "Barcode" for barcode settings).
    static QString labelOf(const QString &fieldName);
    // "Change Font", "Change Brightness", ...: the step's name for the fields a change touched;
    // "Change Settings" when they have different names.
    static QString textFor(const QStringList &fieldNames);

    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

    const ElementStateChange &change() const { return m_change; }

protected:
    void apply() override { m_change.restoreAfter(); }
    void revert() override { m_change.restoreBefore(); }
    GraphicList affected() const override { return m_change.elements(); }

private:
    ElementStateChange m_change;
    int m_run;
    bool m_namedByCaller;
};
