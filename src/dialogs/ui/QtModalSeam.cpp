#include "dialogs/ui/QtModalSeam.h"

#include "dialogs/ui/PlainMessageBoxes.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>

std::unique_ptr<QMessageBox> QtModalSeam::messageBox(QWidget *parent, const Message &message)
{
    auto box = std::make_unique<QMessageBox>(message.icon, message.title, QString(), QMessageBox::NoButton, parent);
    // QMessageBox::setTextFormat reaches the message alone, and the informative text's label is
    // made by the first setInformativeText: every label is made plain before any text is set.
    if (!message.informativeText.isEmpty())
        box->setInformativeText(QStringLiteral(" "));
    PlainMessageBoxes::makePlain(box.get());
    box->setText(message.text);
    box->setInformativeText(message.informativeText);
    QList<QAbstractButton *> buttons;
    for (const QString &text : message.buttons)
        buttons.append(box->addButton(text, QMessageBox::AcceptRole));
    if (message.defaultButton >= 0 && message.defaultButton < buttons.size())
        box->setDefaultButton(qobject_cast<QPushButton *>(buttons.at(message.defaultButton)));
    // Escape and the window's close button press the last button: the one that leaves things
    // as they are (No, Cancel, or the only button).
    if (!buttons.isEmpty())
        box->setEscapeButton(buttons.last());
    return box;
}

int QtModalSeam::showMessage(QWidget *parent, const Message &message)
{
    const std::unique_ptr<QMessageBox> box = messageBox(parent, message);
    box->exec();
    return int(box->buttons().indexOf(box->clickedButton()));
}

int QtModalSeam::execDialog(QDialog *dialog)
{
    return dialog->exec();
}

QString QtModalSeam::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    const PlainMessageBoxes plain;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtModalSeam::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    const PlainMessageBoxes plain;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString QtModalSeam::saveFileNameWithFilter(QWidget *parent, const QString &caption, const QString &dir,
                                           const QString &filters, QString *selectedFilter)
{
    const PlainMessageBoxes plain;
    QFileDialog dialog(parent, caption, dir, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog puts the suffix on before it asks about replacing the file; a platform
    // dialog asks about the name as typed and has the suffix put on afterwards, so the file
    // returned would not be the one asked about.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The suffix of the filter in use goes on before the dialog asks about replacing a file.
    const auto applySuffix = [&dialog](const QString &filter) {
        const qsizetype star = filter.indexOf(QStringLiteral("*."));
        const qsizetype end = filter.indexOf(QRegularExpression(QStringLiteral("[ );]")), star);
        dialog.setDefaultSuffix(star < 0 ? QString() : filter.mid(star + 2, end < 0 ? -1 : end - star - 2));
    };
    applySuffix(filters.section(QStringLiteral(";;"), 0, 0));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, applySuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString QtModalSeam::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    const PlainMessageBoxes plain;
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

bool QtModalSeam::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
