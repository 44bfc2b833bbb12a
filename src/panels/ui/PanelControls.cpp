#include "panels/ui/PanelControls.h"

#include "panels/ElementTabValues.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSlider>

namespace {

double scaleOf(const QSlider *slider, const QDoubleSpinBox *field)
{
    const double span = field->maximum() - field->minimum();
    return span > 0 ? (slider->maximum() - slider->minimum()) / span : 1.0;
}

} // namespace

void PanelControls::showBorderCode(QComboBox *combo, const QString &code)
{
    combo->setCurrentIndex(BorderCodes::indexOf(code));
}

void PanelControls::showIndex(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void PanelControls::showText(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text));
}

void PanelControls::pairSlider(QSlider *slider, QDoubleSpinBox *field, const std::function<void()> &changed)
{
    QObject::connect(slider, &QSlider::valueChanged, field, [slider, field, changed](int position) {
        {
            const QSignalBlocker blocker(field);
            field->setValue(position / scaleOf(slider, field));
        }
        changed();
    });
    QObject::connect(field, &QDoubleSpinBox::valueChanged, slider, [slider, field, changed](double value) {
        {
            const QSignalBlocker blocker(slider);
            slider->setValue(qRound(value * scaleOf(slider, field)));
        }
        changed();
    });
}

void PanelControls::setSliderValue(QSlider *slider, QDoubleSpinBox *field, double value)
{
    const QSignalBlocker blockSlider(slider);
    const QSignalBlocker blockField(field);
    field->setValue(value);
    slider->setValue(qRound(field->value() * scaleOf(slider, field)));
}
