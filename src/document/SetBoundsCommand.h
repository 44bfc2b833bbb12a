#pragma once

#include "document/GraphicEditCommand.h"

#include <QList>
#include <QRectF>

// One element's bounds before and after an edit.
struct BoundsChange
{
    GraphicPtr graphic;
    QRectF before;
    QRectF after;
};

// Moves and resizes (mouse, arrow keys, alignment, same size, natural size, grid).
class SetBoundsCommand : public GraphicEditCommand
{
public:
    // Changes whose bounds stay the same are dropped.
    SetBoundsCommand(LMNDocument *document, GraphicList *list, const QList<BoundsChange> &changes,
                     const QString &text);

    bool isEmpty() const { return m_changes.isEmpty(); }

    // Successive arrow-key moves of the same elements undo as one step.
    void setMergeable(bool mergeable) { m_mergeable = mergeable; }
    int id() const override { return m_mergeable ? 0x4c4d4e01 : -1; }
    bool mergeWith(const QUndoCommand *other) override;

protected:
    void apply() override;
    void revert() override;
    GraphicList affected() const override;

private:
    QList<BoundsChange> m_changes;
    bool m_mergeable = false;
};
