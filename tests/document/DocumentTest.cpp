#include "document/InsertGraphicsCommand.h"
#include "document/LMNDocument.h"
#include "document/RemoveGraphicsCommand.h"

#include <gtest/gtest.h>

namespace {

GraphicList makeElements(int count)
{
    GraphicList list;
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphic::create(GraphicKind::Shape);
        g->setBounds(QRectF(i * 10, 0, 5, 5));
        list.append(g);
    }
    return list;
}

} // namespace

TEST(Document, RemovingAndUndoingRestoresEveryElementAtItsOwnPosition)
{
    LMNDocument document;
    document.graphics = makeElements(6);
    const GraphicList original = document.graphics;

    // Remove the 1st, 3rd and 6th element (positions 0, 2, 5).
    document.perform(new RemoveGraphicsCommand(&document, &document.graphics,
                                               {original[5], original[0], original[2]}, QStringLiteral("Delete")));
    EXPECT_EQ(document.graphics, GraphicList({original[1], original[3], original[4]}));

    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, original);
    document.undoManager()->redo();
    EXPECT_EQ(document.graphics, GraphicList({original[1], original[3], original[4]}));
}

TEST(Document, InsertedElementsGoOnTopInTheirOrderAndUndoFindsThemWhereverTheyMoved)
{
    LMNDocument document;
    document.graphics = makeElements(2);
    const GraphicList below = document.graphics;
    const GraphicList added = makeElements(2);
    document.perform(new InsertGraphicsCommand(&document, &document.graphics, InsertGraphicsCommand::onTop(added),
                                               QStringLiteral("Paste")));
    EXPECT_EQ(document.graphics, GraphicList({added[0], added[1], below[0], below[1]}));
    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, below);

    // Panels and loaders change lists directly; taking back an insertion must still remove
    // exactly the inserted element, never a neighbour.
    document.undoManager()->redo();
    const GraphicPtr stranger = LMNGraphic::create(GraphicKind::Text);
    document.graphics.insert(0, stranger);
    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, GraphicList({stranger, below[0], below[1]}));
}

TEST(Document, ManyElementsInsertedAndRemovedKeepEveryPositionThroughUndoAndRedo)
{
    // Few and many placements (many are merged in one pass), on top, spread through the
    // list and past its end; the same again with the list changed behind the history's back.
    struct Case
    {
        const char *name;
        int below;
        QList<qsizetype> positions;   // rising
        bool strangerOnTop;
    };
    QList<qsizetype> everyOther, onTop, pastTheEnd;
    for (qsizetype i = 0; i < 40; ++i) {
        everyOther << 2 * i + 1;
        onTop << i;
        pastTheEnd << 30 + 3 * i;
    }
    const Case cases[] = {
        {"three spread", 5, {0, 2, 6}, false},
        {"forty on top", 10, onTop, false},
        {"forty between", 50, everyOther, false},
        {"forty past the end", 20, pastTheEnd, false},
        {"forty between, a stranger put on top", 50, everyOther, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LMNDocument document;
        document.graphics = makeElements(c.below);
        const GraphicList below = document.graphics;
        QList<InsertGraphicsCommand::Placement> placements;
        for (qsizetype position : c.positions)
            placements.append({position, LMNGraphic::create(GraphicKind::Text)});
        document.perform(new InsertGraphicsCommand(&document, &document.graphics, placements, QStringLiteral("Paste")));

        // Each inserted element where it was asked to be, or at the end in its order when the
        // list is shorter; the others in their order around them.
        ASSERT_EQ(document.graphics.size(), c.below + c.positions.size());
        GraphicList others;
        qsizetype atEnd = c.below;
        for (const auto &p : std::as_const(placements)) {
            const qsizetype expected = std::min(p.first, atEnd++);
            EXPECT_EQ(document.graphics.indexOf(p.second), expected) << p.first;
        }
        for (const GraphicPtr &g : std::as_const(document.graphics))
            if (g->kind() != GraphicKind::Text)
                others << g;
        EXPECT_EQ(others, below);

        const GraphicList inserted = document.graphics;
        GraphicList expectedAfterUndo = below;
        if (c.strangerOnTop) {
            const GraphicPtr stranger = LMNGraphic::create(GraphicKind::Line);
            document.graphics.prepend(stranger);
            expectedAfterUndo.prepend(stranger);
        }
        document.undoManager()->undo();
        EXPECT_EQ(document.graphics, expectedAfterUndo);
        if (c.strangerOnTop)
            continue;
        document.undoManager()->redo();
        EXPECT_EQ(document.graphics, inserted);

        // Removing the inserted ones again, and taking that back.
        GraphicList texts;
        for (const auto &p : std::as_const(placements))
            texts << p.second;
        document.perform(new RemoveGraphicsCommand(&document, &document.graphics, texts, QStringLiteral("Delete")));
        EXPECT_EQ(document.graphics, below);
        document.undoManager()->undo();
        EXPECT_EQ(document.graphics, inserted);
    }
}

TEST(Document, RegistrationOffPerformsWithoutHistory)
{
    LMNDocument document;
    const GraphicList added = makeElements(1);
    document.disableUndoRegistration();
    document.disableUndoRegistration(); // nests
    document.enableUndoRegistration();
    EXPECT_FALSE(document.isUndoRegistrationEnabled());
    document.perform(new InsertGraphicsCommand(&document, &document.graphics, InsertGraphicsCommand::onTop(added),
                                               QStringLiteral("Create")));
    EXPECT_EQ(document.graphics.size(), 1);
    EXPECT_EQ(document.undoManager()->count(), 0);
    document.enableUndoRegistration();
    EXPECT_TRUE(document.isUndoRegistrationEnabled());
}

TEST(Document, EditGroupsUndoAsOneStep)
{
    LMNDocument document;
    document.graphics = makeElements(3);
    const GraphicList original = document.graphics;
    document.beginEditGroup(QStringLiteral("Cut"));
    document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[0]}, QStringLiteral("a")));
    document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[2]}, QStringLiteral("b")));
    document.endEditGroup();
    document.endEditGroup(); // unmatched: harmless
    EXPECT_EQ(document.undoManager()->count(), 1);
    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, original);
}

// A group opens on the history only with its first edit: one that changes nothing keeps the
// redo steps and the clean state; one that changes something replaces them with one step.
TEST(Document, AGroupThatChangesNothingKeepsRedoAndTheCleanState)
{
    struct Row
    {
        const char *name;
        int edits;       // performed inside the (outer) group
        bool nested;     // the edits are made inside an inner group
    };
    const QList<Row> rows = {
        {"empty group", 0, false},
        {"empty nested groups", 0, true},
        {"one edit", 1, false},
        {"two edits in a nested group", 2, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        LMNDocument document;
        document.graphics = makeElements(4);
        const GraphicList original = document.graphics;
        QUndoStack *history = document.undoManager();
        document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[0]}, QStringLiteral("A")));
        document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[1]}, QStringLiteral("B")));
        history->setClean();
        history->undo();
        ASSERT_TRUE(history->canRedo());

        document.beginEditGroup(QStringLiteral("Group"));
        if (row.nested)
            document.beginEditGroup(QStringLiteral("Inner"));
        for (int i = 0; i < row.edits; ++i)
            document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[2 + i]},
                                                       QStringLiteral("edit")));
        if (row.nested)
            document.endEditGroup();
        document.endEditGroup();

        if (row.edits == 0) {
            EXPECT_EQ(history->count(), 2);
            EXPECT_EQ(history->index(), 1);
            EXPECT_TRUE(history->canRedo());
            EXPECT_EQ(history->cleanIndex(), 2);
            history->redo();
            EXPECT_TRUE(history->isClean());
            EXPECT_EQ(document.graphics, GraphicList({original[2], original[3]}));
        } else {
            EXPECT_EQ(history->count(), 2);
            EXPECT_FALSE(history->canRedo());
            EXPECT_EQ(history->undoText(), QStringLiteral("Group"));
            EXPECT_EQ(history->command(1)->childCount(), row.edits);
            history->undo();
            EXPECT_EQ(document.graphics, GraphicList({original[1], original[2], original[3]}));
        }
    }
}
