#pragma once

#include <QDialog>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;

// The Print window's page settings: the paper (among those the printer offers), the
// orientation and the four margins in millimetres. It opens on the page it is given and hands
// back what is chosen; OK without a change gives that page back as it was.
class PageSetupWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PageSetupWindow(QWidget *parent = nullptr);

    // Shows `paper` (added to `papers` when they lack it), `orientation` and `margins` (points).
    void setPage(const QList<QPageSize> &papers, const QPageSize &paper, QPageLayout::Orientation orientation,
                 const QMarginsF &margins);

    QPageSize paper() const;
    QPageLayout::Orientation orientation() const;
    // The margins in points.
    QMarginsF margins() const;

    QComboBox *paperList = nullptr;
    QComboBox *orientationList = nullptr;
    QDoubleSpinBox *leftMargin = nullptr;
    QDoubleSpinBox *rightMargin = nullptr;
    QDoubleSpinBox *topMargin = nullptr;
    QDoubleSpinBox *bottomMargin = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    QList<QPageSize> m_papers;
    QMarginsF m_shownMargins;   // as given, in points: an untouched field gives these back
    QMarginsF m_shownMillimetres;
};
