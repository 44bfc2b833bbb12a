#include "editor/ui/Template_Wizard.h"

#include "dialogs/ui/UiUtilities.h"
#include "dialogs/ui/SharedWindow.h"
#include "editor/EditorGlobals.h"
#include "editor/ui/LMNWindowController.h"

#include "dialogs/ui/ModalSeam.h"
#include "document/PictureReading.h"
#include "editor/DesignFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardItemModel>

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

Template_Wizard::Template_Wizard(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    m_model = new QStandardItemModel(this);
    ui.template_gallery->setModel(m_model);
    connect(ui.template_ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.template_cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.template_gallery, &QListView::doubleClicked, this, &QDialog::accept);
    // The sender's profile for the card being started: placed once the start screen ends.
    connect(ui.template_profile_btn, &QPushButton::clicked, this, [this] { User_Profile_Click(); });
}

Template_Wizard *Template_Wizard::defaultInstance()
{
    return sharedWindow<Template_Wizard>();
}

QStringList Template_Wizard::templateFiles(const QString &templatesFolder)
{
    QStringList files;
    const QString pattern = QStringLiteral("*.") + DesignFile::Extension;
    for (const QString &folder : {templatesFolder, QDir(templatesFolder).filePath(QStringLiteral("User"))}) {
        const QFileInfoList entries = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::Name);
        for (const QFileInfo &entry : entries)
            files.append(entry.filePath());
    }
    return files;
}

int Template_Wizard::Open_Wnd(const QString &templatesFolder)
{
    selected_template.clear();
    m_model->clear();
    for (const QString &file : templateFiles(templatesFolder)) {
        const QFileInfo info(file);
        const QString preview = info.dir().filePath(info.completeBaseName() + QStringLiteral(".png"));
        const QImage picture = PictureReading::readFile(preview, PictureReading::within(ui.template_gallery->iconSize())).picture;
        auto *item = new QStandardItem(QIcon(QPixmap::fromImage(picture)), info.completeBaseName());
        item->setData(file, kPathRole);
        item->setEditable(false);
        m_model->appendRow(item);
    }
    if (m_model->rowCount() > 0)
        ui.template_gallery->setCurrentIndex(m_model->index(0, 0));

    if (ModalSeam::instance().execDialog(this) != QDialog::Accepted)
        return 0;
    const QModelIndex current = ui.template_gallery->currentIndex();
    if (!current.isValid())
        return 0;
    selected_template = current.data(kPathRole).toString();
    return 1;
}

void Template_Wizard::User_Profile_Click()
{
    if (openProfile)
        openProfile();
}
