#include "editor/ui/Invitation_Wizard.h"

#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/UiUtilities.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/SharedWindow.h"
#include "editor/CardSizeCatalog.h"
#include "document/DatePattern.h"
#include "document/PaintStyles.h"
#include "document/PictureReading.h"
#include "editor/EditorGlobals.h"
#include "editor/ui/LMNWindowController.h"
#include "editor/ui/Insert_Template.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardItemModel>

namespace {
enum Page { StartPage, SizePage, BackgroundPage, MessagePage, DetailsPage };
constexpr int kPathRole = Qt::UserRole + 1;
} // namespace

Invitation_Wizard::Invitation_Wizard(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    // The start page has no confirming button (Next and Finish are hidden there): each of its
    // choices takes Enter while it has the focus.
    for (QPushButton *choice : {ui.start_wizard_btn, ui.open_design_btn, ui.template_btn})
        choice->setAutoDefault(true);
    m_backgrounds = new QStandardItemModel(this);
    ui.background_gallery->setModel(m_backgrounds);

    connect(ui.start_wizard_btn, &QAbstractButton::clicked, this, [this] {
        start_option = QStringLiteral("W");
        goToPage(SizePage);
    });
    connect(ui.open_design_btn, &QAbstractButton::clicked, this, [this] {
        start_option = QStringLiteral("O");
        emit openDesignRequested();
    });
    connect(ui.template_btn, &QAbstractButton::clicked, this, [this] {
        start_option = QStringLiteral("T");
        emit templateRequested();
    });
    connect(ui.back_btn, &QPushButton::clicked, this, [this] { goToPage(ui.wizard_pages->currentIndex() - 1); });
    connect(ui.next_btn, &QPushButton::clicked, this, [this] { goToPage(ui.wizard_pages->currentIndex() + 1); });
    connect(ui.finish_btn, &QPushButton::clicked, this, &Invitation_Wizard::finishWizard);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &QDialog::reject);

    connect(ui.size_category_combo, &QComboBox::currentIndexChanged, this, &Invitation_Wizard::fillSizes);
    connect(ui.size_orientation_combo, &QComboBox::currentIndexChanged, this, &Invitation_Wizard::updateSizeLabel);
    connect(ui.size_list, &QListWidget::currentRowChanged, this, &Invitation_Wizard::updateSizeLabel);

    connect(ui.background_none_btn, &QPushButton::clicked, this, [this] {
        m_otherBackground.clear();
        ui.background_gallery->clearSelection();
        ui.background_gallery->setCurrentIndex({});
    });
    connect(ui.background_browse_btn, &QPushButton::clicked, this, [this] {
        const QString path = ModalSeam::instance().openFileName(this, tr("Choose a Background Picture"), QString(),
                                                                tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif)"));
        if (path.isEmpty())
            return;
        // Checked as the card will read it (and kept for that read); shown as an icon.
        QString message;
        if (!PaintStyles::checkPicture(path, &message)) {
            Show_Warning_MessageBox(message);
            return;
        }
        const QImage icon = PictureReading::readFile(path, PictureReading::within(ui.background_gallery->iconSize())).picture;
        auto *item = new QStandardItem(QIcon(QPixmap::fromImage(icon)), QFileInfo(path).completeBaseName());
        item->setData(path, kPathRole);
        m_backgrounds->appendRow(item);
        ui.background_gallery->setCurrentIndex(item->index());
    });

    connect(ui.title_template_btn, &QPushButton::clicked, this, [this] { chooseStockText(QStringLiteral("T")); });
    connect(ui.message_template_btn, &QPushButton::clicked, this, [this] { chooseStockText(QStringLiteral("M")); });
    connect(ui.date_chk, &QCheckBox::toggled, ui.date_edit, &QWidget::setEnabled);
    connect(ui.date_chk, &QCheckBox::toggled, ui.date_format_combo, &QWidget::setEnabled);
    connect(ui.time_chk, &QCheckBox::toggled, ui.time_edit, &QWidget::setEnabled);
    connect(ui.time_chk, &QCheckBox::toggled, ui.time_format_combo, &QWidget::setEnabled);
    // The sender's profile for the card being started: placed once the start screen ends.
    connect(ui.profile_btn, &QPushButton::clicked, this, [this] { User_Profile_Click(); });

    fillSizes();
    resetPages();
}

Invitation_Wizard::~Invitation_Wizard() = default;

Invitation_Wizard *Invitation_Wizard::defaultInstance()
{
    return sharedWindow<Invitation_Wizard>();
}

void Invitation_Wizard::resetPages()
{
    start_option.clear();
    ui.size_category_combo->setCurrentIndex(0);
    ui.size_orientation_combo->setCurrentIndex(0);
    fillSizes();
    ui.shape_rect_rd->setChecked(true);
    ui.background_gallery->setCurrentIndex({});
    m_otherBackground.clear();
    ui.title_edit->clear();
    ui.message_edit->clear();
    ui.to_edit->clear();
    ui.from_edit->clear();
    ui.venue_edit->clear();
    ui.date_edit->setDate(QDate::currentDate());
    ui.time_edit->setTime(QTime(18, 0));
    ui.date_chk->setChecked(true);
    ui.time_chk->setChecked(true);
    goToPage(StartPage);
}

void Invitation_Wizard::setDateFormats(const QStringList &patterns)
{
    ui.date_format_combo->clear();
    for (const QString &pattern : patterns)
        ui.date_format_combo->addItem(DatePattern::format(QDateTime::currentDateTime(), pattern), pattern);
}

void Invitation_Wizard::setTimeFormats(const QStringList &patterns)
{
    ui.time_format_combo->clear();
    for (const QString &pattern : patterns)
        ui.time_format_combo->addItem(DatePattern::format(QDateTime(QDate::currentDate(), QTime(18, 30)), pattern), pattern);
}

void Invitation_Wizard::loadBackgrounds(const QString &folder)
{
    m_backgrounds->clear();
    const QFileInfoList entries = QDir(folder).entryInfoList(
        {QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QImage picture =
            PictureReading::readFile(entry.filePath(), PictureReading::within(ui.background_gallery->iconSize())).picture;
        auto *item = new QStandardItem(QIcon(QPixmap::fromImage(picture)), entry.completeBaseName());
        item->setData(entry.filePath(), kPathRole);
        item->setEditable(false);
        m_backgrounds->appendRow(item);
    }
}

int Invitation_Wizard::Open_Wnd()
{
    resetPages();
    return ModalSeam::instance().execDialog(this) == QDialog::Accepted ? 1 : 0;
}

void Invitation_Wizard::designReady()
{
    accept();
}

void Invitation_Wizard::goToPage(int index)
{
    index = std::clamp(index, int(StartPage), int(DetailsPage));
    ui.wizard_pages->setCurrentIndex(index);
    const bool inWizard = index != StartPage;
    ui.back_btn->setVisible(inWizard);
    ui.next_btn->setVisible(inWizard && index != DetailsPage);
    ui.finish_btn->setVisible(index == DetailsPage);
    ui.back_btn->setEnabled(index > StartPage);
    if (index == DetailsPage)
        ui.finish_btn->setDefault(true);
    else if (inWizard)
        ui.next_btn->setDefault(true);
}

void Invitation_Wizard::fillSizes()
{
    const QList<CardSize> sizes = ui.size_category_combo->currentIndex() == 1 ? CardSizeCatalog::paperCards()
                                                                              : CardSizeCatalog::pvcCards();
    const QSignalBlocker blocker(ui.size_list);
    ui.size_list->clear();
    for (const CardSize &size : sizes)
        ui.size_list->addItem(size.name);
    ui.size_list->setCurrentRow(0);
    updateSizeLabel();
}

void Invitation_Wizard::updateSizeLabel()
{
    const QSizeF mm = chosenSizeMm();
    ui.size_dimensions_label->setText(tr("%1 × %2 mm").arg(mm.width(), 0, 'f', 1).arg(mm.height(), 0, 'f', 1));
}

QString Invitation_Wizard::chosenCategory() const
{
    return ui.size_category_combo->currentText();
}

QString Invitation_Wizard::chosenPreset() const
{
    return ui.size_orientation_combo->currentText();
}

int Invitation_Wizard::chosenSizeRow() const
{
    return ui.size_list->currentRow();
}

QString Invitation_Wizard::chosenSizeName() const
{
    const QListWidgetItem *item = ui.size_list->currentItem();
    return item ? item->text() : QString();
}

QSizeF Invitation_Wizard::chosenSizeMm() const
{
    const QList<CardSize> sizes = ui.size_category_combo->currentIndex() == 1 ? CardSizeCatalog::paperCards()
                                                                              : CardSizeCatalog::pvcCards();
    const int row = chosenSizeRow();
    if (row < 0 || row >= sizes.size())
        return {};
    QSizeF mm(sizes.at(row).widthMM, sizes.at(row).heightMM);
    const bool vertical = ui.size_orientation_combo->currentIndex() == 1;
    if (vertical != (mm.height() > mm.width()))
        mm.transpose();
    return mm;
}

int Invitation_Wizard::chosenShape() const
{
    if (ui.shape_rounded_rd->isChecked())
        return 1;
    if (ui.shape_ellipse_rd->isChecked())
        return 2;
    return 0;
}

QString Invitation_Wizard::selectedBackground() const
{
    const QModelIndex current = ui.background_gallery->currentIndex();
    return current.isValid() ? current.data(kPathRole).toString() : QString();
}

void Invitation_Wizard::chooseStockText(const QString &kind)
{
    Insert_Template *picker = Insert_Template::defaultInstance();
    picker->title_or_msg = kind;
    if (picker->Open_Template_Dialog() != 1)
        return;
    if (kind == QLatin1String("T"))
        ui.title_edit->setText(Template_Msg_Val);
    else
        ui.message_edit->setPlainText(Template_Msg_Val);
}

void Invitation_Wizard::finishWizard()
{
    start_option = QStringLiteral("W");
    PartyAnswers &party = m_answers.party;
    party.title = ui.title_edit->text().trimmed();
    party.message = ui.message_edit->toPlainText().trimmed();
    party.to = ui.to_edit->text().trimmed();
    party.from = ui.from_edit->text().trimmed();
    party.venue = ui.venue_edit->toPlainText().trimmed();
    const QString datePattern = ui.date_format_combo->currentData().toString();
    const QString timePattern = ui.time_format_combo->currentData().toString();
    party.date = ui.date_chk->isChecked()
                     ? DatePattern::format(QDateTime(ui.date_edit->date(), QTime(12, 0)),
                                           datePattern.isEmpty() ? QStringLiteral("EEEE, MMMM d, y") : datePattern).trimmed()
                     : QString();
    party.time = ui.time_chk->isChecked()
                     ? DatePattern::format(QDateTime(QDate::currentDate(), ui.time_edit->time()),
                                           timePattern.isEmpty() ? QStringLiteral("h:mm a") : timePattern).trimmed()
                     : QString();
    m_answers.background = selectedBackground();
    accept();
}

void Invitation_Wizard::User_Profile_Click()
{
    if (openProfile)
        openProfile();
}
