#include "panels/PanelText.h"

PanelText::Typed PanelText::applyTypingRules(const QString &text, int caret)
{
    Typed typed{text, std::clamp(caret, 0, int(text.size())), false};
    for (qsizetype at = typed.text.indexOf(Placeholder); at >= 0; at = typed.text.indexOf(Placeholder, at)) {
        typed.text.remove(at, Placeholder.size());
        if (typed.caret > at)
            typed.caret -= int(std::min<qsizetype>(typed.caret - at, Placeholder.size()));
        typed.changed = true;
    }
    if (typed.text.size() > MaximumLength) {
        int cut = MaximumLength;
        if (typed.text.at(cut - 1).isHighSurrogate())
            --cut;
        typed.text.truncate(cut);
        typed.caret = std::min(typed.caret, cut);
        typed.changed = true;
    }
    return typed;
}
