#pragma once

#include <QString>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QSlider;
class QSpinBox;
class QAbstractButton;

// Small helpers the element pages share for showing model values in their controls.
namespace PanelControls {

// Selects the border style of a code; a code that is not one of the five selects nothing, so
// the next write-back keeps the element's own code instead of another element's choice.
void showBorderCode(QComboBox *combo, const QString &code);
// Selects an index, or nothing when the index is not in the list.
void showIndex(QComboBox *combo, int index);
// Selects the item with exactly that text, or nothing.
void showText(QComboBox *combo, const QString &text);

// A slider and its value field work as one control: the slider holds the value times the
// ratio of their ranges (so fractions such as 37.5 % or a saturation of 1.25 fit its whole
// numbers), the field holds the value itself. `changed` runs after either was moved by the
// user or by code.
void pairSlider(QSlider *slider, QDoubleSpinBox *field, const std::function<void()> &changed);
// Puts a value into a paired slider and its field.
void setSliderValue(QSlider *slider, QDoubleSpinBox *field, double value);

} // namespace PanelControls
