#include "data/ui/Generate_List.h"

#include "data/ui/SeriesDialogSupport.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "data/DataGlobals.h"

#include <QButtonGroup>
#include <QPointer>

Generate_List::Generate_List(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    auto *modes = new QButtonGroup(this);
    modes->addButton(ui.radioButton_Sequntial);
    modes->addButton(ui.radioButton_Constant);
    modes->addButton(ui.radioButton_Random);
    connect(ui.radioButton_Sequntial, &QRadioButton::clicked, this, &Generate_List::Sequintial_Radio_Pressed);
    connect(ui.radioButton_Constant, &QRadioButton::clicked, this, &Generate_List::Constant_Radio_Pressed);
    connect(ui.radioButton_Random, &QRadioButton::clicked, this, &Generate_List::Random_Radio_Pressed);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Generate_List::OKPressed);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Generate_List::CancelPressed);
    connect(ui.help_btn, &QPushButton::clicked, this, &Generate_List::Help_btn_Pressed);

    // Typed numbers are cleaned as they are typed; a stepper and its field stay equal.
    connect(ui.count_txt, &QLineEdit::textEdited, this, [this] { cleanField(ui.count_txt, ui.count_stepper, 5, 10000); });
    connect(ui.rand_count_txt, &QLineEdit::textEdited, this,
            [this] { cleanField(ui.rand_count_txt, ui.rand_count_stepper, 5, 10000); });
    connect(ui.rand_length_txt, &QLineEdit::textEdited, this,
            [this] { cleanField(ui.rand_length_txt, ui.rand_length_stepper, 1, 9); });
    const auto follow = [this](QSpinBox *stepper, QLineEdit *field) {
        connect(stepper, &QSpinBox::valueChanged, this, [field](int value) {
            if (SeriesGenerator::intValue(field->text()) != value)
                field->setText(QString::number(value));
        });
    };
    follow(ui.count_stepper, ui.count_txt);
    follow(ui.rand_count_stepper, ui.rand_count_txt);
    follow(ui.rand_length_stepper, ui.rand_length_txt);
}

Generate_List *Generate_List::defaultInstance()
{
    return sharedWindow<Generate_List>(sharedWindowParent());
}

void Generate_List::cleanField(QLineEdit *field, QSpinBox *stepper, int maxChars, int maxValue)
{
    const QString cleaned = SeriesGenerator::cleanNumberField(field->text(), maxChars, maxValue);
    if (cleaned != field->text())
        field->setText(cleaned);
    const QSignalBlocker quiet(stepper);
    stepper->setValue(SeriesGenerator::intValue(field->text()));
}

int Generate_List::Open_Wnd()
{
    for (QLineEdit *name : {ui.seq_file_name, ui.const_file_name, ui.rndm_file_name}) {
        name->clear();
        name->setVisible(file_name_required == 1);
    }
    for (QLabel *label : {ui.seq_name_lbl, ui.const_name_lbl, ui.rndm_name_lbl})
        label->setVisible(file_name_required == 1);
    if (file_name_required == 1)
        ui.seq_file_name->setText(QStringLiteral("Untitled"));
    ui.manage_digit_chk->setChecked(false);
    for (QLineEdit *field : {ui.prefix_txt, ui.suffix_txt, ui.from_txt, ui.to_txt, ui.value_txt, ui.rand_prefix_txt,
                             ui.rand_suffix_txt})
        field->clear();
    for (QLineEdit *field : {ui.count_txt, ui.rand_length_txt, ui.rand_count_txt})
        field->setText(QStringLiteral("1"));
    setMode(SeriesGenerator::Mode::Sequential);
    ui.prefix_txt->setFocus();
    setResult(0);
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    return result;
}

void Generate_List::setMode(SeriesGenerator::Mode mode)
{
    using Mode = SeriesGenerator::Mode;
    m_mode = mode;
    ui.radioButton_Sequntial->setChecked(mode == Mode::Sequential);
    ui.radioButton_Constant->setChecked(mode == Mode::Constant);
    ui.radioButton_Random->setChecked(mode == Mode::Random);
    if (QLineEdit *name = nameField(); Trim_Str(name->text()).isEmpty())
        name->setText(QStringLiteral("Untitled"));
    const bool seq = mode == Mode::Sequential, constant = mode == Mode::Constant, random = mode == Mode::Random;
    ui.seq_file_name->setEnabled(seq);
    ui.const_file_name->setEnabled(constant);
    ui.rndm_file_name->setEnabled(random);
    for (QWidget *control : std::initializer_list<QWidget *>{ui.prefix_txt, ui.suffix_txt, ui.from_txt, ui.to_txt,
                                                             ui.help_btn, ui.manage_digit_chk})
        control->setEnabled(seq);
    for (QWidget *control : std::initializer_list<QWidget *>{ui.value_txt, ui.count_txt, ui.count_stepper})
        control->setEnabled(constant);
    for (QWidget *control : std::initializer_list<QWidget *>{ui.rand_prefix_txt, ui.rand_suffix_txt, ui.rand_length_txt,
                                                             ui.rand_length_stepper, ui.rand_count_txt,
                                                             ui.rand_count_stepper})
        control->setEnabled(random);
}

void Generate_List::Sequintial_Radio_Pressed()
{
    setMode(SeriesGenerator::Mode::Sequential);
}

void Generate_List::Constant_Radio_Pressed()
{
    setMode(SeriesGenerator::Mode::Constant);
}

void Generate_List::Random_Radio_Pressed()
{
    setMode(SeriesGenerator::Mode::Random);
}

QLineEdit *Generate_List::nameField() const
{
    switch (m_mode) {
    case SeriesGenerator::Mode::Constant:
        return ui.const_file_name;
    case SeriesGenerator::Mode::Random:
        return ui.rndm_file_name;
    default:
        return ui.seq_file_name;
    }
}

SeriesGenerator::Request Generate_List::request() const
{
    SeriesGenerator::Request r;
    r.mode = m_mode;
    r.prefix = ui.prefix_txt->text();
    r.suffix = ui.suffix_txt->text();
    r.from = ui.from_txt->text();
    r.to = ui.to_txt->text();
    r.zeroFill = ui.manage_digit_chk->isChecked();
    r.value = ui.value_txt->text();
    r.count = ui.count_txt->text();
    r.randPrefix = ui.rand_prefix_txt->text();
    r.randSuffix = ui.rand_suffix_txt->text();
    r.length = ui.rand_length_txt->text();
    r.randCount = ui.rand_count_txt->text();
    return r;
}

void Generate_List::OKPressed()
{
    using Field = SeriesGenerator::Field;
    const SeriesGenerator::Request r = request();
    Field focus = Field::None;
    const QString refusal = SeriesGenerator::validate(r, &focus);
    if (!refusal.isEmpty()) {
        Show_MessageBox(refusal);
        QLineEdit *field = focus == Field::From     ? ui.from_txt
                           : focus == Field::To     ? ui.to_txt
                           : focus == Field::Value  ? ui.value_txt
                           : focus == Field::Length ? ui.rand_length_txt
                           : m_mode == SeriesGenerator::Mode::Random ? ui.rand_count_txt
                                                                     : ui.count_txt;
        field->setFocus();
        return;
    }
    const QStringList values = SeriesGenerator::generate(r);
    if (file_name_required == 1) {
        if (!SeriesDialogs::writeNewSeries(nameField()->text(), values))
            return;
    } else {
        SeriesDialogs::addManagerValues(values);
    }
    if (file_name_Insert == 1)
        SeriesDialogs::refillManagerList();
    done(1);
}

void Generate_List::CancelPressed()
{
    done(0);
}

void Generate_List::Help_btn_Pressed()
{
    // The title and text of the zero-filling help box.
    const QString Custom_Msg_Title = QStringLiteral("Maintain number of Digits By adding 0's before smaller values. ");
    const QString Custom_Msg_Val = QStringLiteral(
        "For example:\r\nIf you have to generate a series of barcodes having values from '0' to '200', this option "
        "automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of digits same "
        "as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series starting from '001' to "
        "'00200', this option automatically converts small values such as '001' to '00001' and '0011' to '00011' to "
        "maintain number of digits same as the highest value in the series.");
    ModalSeam::Message message;
    message.icon = QMessageBox::Information;
    message.title = QCoreApplication::applicationName();
    message.text = tr(Custom_Msg_Title.toUtf8().constData());
    message.informativeText = Custom_Msg_Val;
    message.buttons = {QStringLiteral("OK")};
    ModalSeam::instance().showMessage(this, message);
}
