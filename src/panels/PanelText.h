#pragma once

#include <QString>

// The typing rules of the text page's editor: the placeholder a new text element starts
// with goes as soon as the user types, and no element text grows past 250 characters.
namespace PanelText {

inline const QString Placeholder = QStringLiteral("Text here");
constexpr int MaximumLength = 250;

struct Typed
{
    QString text;
    int caret = 0;
    bool changed = false;   // the rules changed the text: the editor must show `text`
};

// Removes every "Text here" (exact case) and cuts the text to 250 UTF-16 units, never
// between the two halves of a character outside the basic plane. `caret` is the cursor
// position in `text`; the result says where it belongs in the new text.
Typed applyTypingRules(const QString &text, int caret);

} // namespace PanelText
