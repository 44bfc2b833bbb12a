#include "output/ui/PageSetupWindow.h"

#include "dialogs/ui/UiUtilities.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72.0;

QDoubleSpinBox *marginField(QWidget *parent, const char *name)
{
    auto *field = new QDoubleSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setDecimals(2);
    field->setRange(0, 1000);
    field->setSingleStep(1);
    field->setSuffix(QStringLiteral(" mm"));
    return field;
}

} // namespace

PageSetupWindow::PageSetupWindow(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PageSetupWindow"));
    setWindowTitle(tr("Page Setup"));
    paperList = new QComboBox(this);
    paperList->setObjectName(QStringLiteral("paperList"));
    orientationList = new QComboBox(this);
    orientationList->setObjectName(QStringLiteral("orientationList"));
    orientationList->addItems({tr("Portrait"), tr("Landscape")});
    leftMargin = marginField(this, "leftMargin");
    rightMargin = marginField(this, "rightMargin");
    topMargin = marginField(this, "topMargin");
    bottomMargin = marginField(this, "bottomMargin");
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    const auto addRow = [this, form](const QString &label, QWidget *field) {
        auto *shown = new QLabel(label, this);
        shown->setTextFormat(Qt::PlainText);   // as every label of the program
        shown->setBuddy(field);
        form->addRow(shown, field);
    };
    addRow(tr("Paper:"), paperList);
    addRow(tr("Orientation:"), orientationList);
    addRow(tr("Left margin:"), leftMargin);
    addRow(tr("Right margin:"), rightMargin);
    addRow(tr("Top margin:"), topMargin);
    addRow(tr("Bottom margin:"), bottomMargin);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    Apply_Dialog_Look(this);
}

void PageSetupWindow::setPage(const QList<QPageSize> &papers, const QPageSize &paper,
                              QPageLayout::Orientation orientation, const QMarginsF &margins)
{
    m_papers = papers;
    int current = -1;
    for (int i = 0; i < m_papers.size() && current < 0; ++i)
        if (m_papers.at(i).isEquivalentTo(paper) && m_papers.at(i).name() == paper.name())
            current = i;
    for (int i = 0; i < m_papers.size() && current < 0; ++i)
        if (m_papers.at(i).isEquivalentTo(paper))
            current = i;
    if (current < 0 && paper.isValid()) {
        m_papers.append(paper);
        current = int(m_papers.size()) - 1;
    }
    paperList->clear();
    for (const QPageSize &size : std::as_const(m_papers))
        paperList->addItem(size.name());
    paperList->setCurrentIndex(current);
    orientationList->setCurrentIndex(orientation == QPageLayout::Landscape ? 1 : 0);
    m_shownMargins = margins;
    m_shownMillimetres = margins * kMillimetresPerPoint;
    leftMargin->setValue(m_shownMillimetres.left());
    rightMargin->setValue(m_shownMillimetres.right());
    topMargin->setValue(m_shownMillimetres.top());
    bottomMargin->setValue(m_shownMillimetres.bottom());
}

QPageSize PageSetupWindow::paper() const
{
    const int index = paperList->currentIndex();
    return index >= 0 && index < m_papers.size() ? m_papers.at(index) : QPageSize();
}

QPageLayout::Orientation PageSetupWindow::orientation() const
{
    return orientationList->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QMarginsF PageSetupWindow::margins() const
{
    // A field left as shown gives its margin back exactly, not its value rounded to the field.
    const auto margin = [](const QDoubleSpinBox *field, double shownMillimetres, double shownPoints) {
        const double rounded = std::round(shownMillimetres * 100) / 100;
        return std::abs(field->value() - rounded) < 1e-9 ? shownPoints : field->value() / kMillimetresPerPoint;
    };
    return {margin(leftMargin, m_shownMillimetres.left(), m_shownMargins.left()),
            margin(topMargin, m_shownMillimetres.top(), m_shownMargins.top()),
            margin(rightMargin, m_shownMillimetres.right(), m_shownMargins.right()),
            margin(bottomMargin, m_shownMillimetres.bottom(), m_shownMargins.bottom())};
}
