#pragma once

#include "document/ElementStateChange.h"
#include "document/GraphicEditCommand.h"
#include "panels/Card_Property.h"

#include <QSizeF>
#include <QStringList>

class PanelHost;

// What the card pages change: both sides' background records, the card's shape and size.
struct CardEditState
{
    Card_Property front;
    Card_Property back;
    int shape = 0;
    QSizeF size;

    // The state the host holds now.
    static CardEditState of(PanelHost &host);
    friend bool operator==(const CardEditState &, const CardEditState &) = default;
    // What a user calls each setting that differs between two states ("Card Size", "Fill
    // Color", ...), each once, the most telling first; settings the program keeps for itself
    // are not named, nor an opacity stored anew in other terms (the initial 100 read back
    // from the panel as 1, both opaque).
    static QStringList changedSettings(const CardEditState &before, const CardEditState &after);
};

// A change made on the card pages (and the text elements the all-text font or colour went
// into): undo puts back the state before, redo the state after. Edits of one run merge, as
// element settings do (SetPropertiesCommand).
class CardEditCommand : public GraphicEditCommand
{
public:
    CardEditCommand(PanelHost *host, LMNDocument *document, GraphicList *list, CardEditState before,
                    CardEditState after, ElementStateChange texts, const QString &text, int run);

    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

    // "Change Card Size", ...: named after the first of the settings.
    static QString textFor(const QStringList &settings);

protected:
    void apply() override;
    void revert() override;
    // The card is shown after undo and redo, not elements.
    GraphicList affected() const override { return {}; }

private:
    void put(const CardEditState &state) const;
    // The names of what the step changes.
    QStringList settings() const;

    PanelHost *m_host;
    CardEditState m_before;
    CardEditState m_after;
    ElementStateChange m_texts;
    int m_run;
    bool m_namedByCaller;
};
