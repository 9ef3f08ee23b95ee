#include "window/SetupDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <string>

#include "app/SetupOptions.h"
#include "app/SetupText.h"
#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

// Each text field: its label, the command line option that checks it, and whether a number
// without a unit is in MHz.
struct TextField {
    const char* label;
    const char* option;
    bool megahertz;
};

constexpr std::array<TextField, 4> kTextFieldForms{{
    {"W-CDMA center (MHz):", "--wcdma-center", true},
    {"802.11a center (MHz):", "--wlan-11a-center", true},
    {"802.11b center (MHz):", "--wlan-11b-center", true},
    {"Reference level (dB):", "--ref-level", false},
}};

}  // namespace

SetupDialog::SetupDialog(const MeasurementSetup& setup, bool boardSelectable, QWidget* parent)
    : QDialog(parent), setup_(setup) {
    setWindowTitle(QStringLiteral("Set-up"));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < kTextFieldForms.size(); ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString::fromLatin1(kTextFieldForms[i].option + 2));
        form->addRow(QString::fromLatin1(kTextFieldForms[i].label), fields_[i]);
    }
    board_ = new QSpinBox(this);
    board_->setObjectName(QStringLiteral("board"));
    board_->setRange(0, AnalyzerAddress::kMaxBoard);
    board_->setEnabled(boardSelectable);
    form->addRow(QStringLiteral("GPIB board:"), board_);
    address_ = new QSpinBox(this);
    address_->setObjectName(QStringLiteral("address"));
    address_->setRange(0, AnalyzerAddress::kMaxPrimaryAddress);
    form->addRow(QStringLiteral("Primary address:"), address_);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    problem_->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("&Defaults"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetupDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] {
                MeasurementSetup defaults;
                if (!board_->isEnabled()) defaults.address.board = board_->value();
                Show(defaults);
            });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    Show(setup);
}

void SetupDialog::Show(const MeasurementSetup& setup) {
    fields_[kWcdmaCenter]->setText(QString::fromStdString(MegahertzText(setup.wcdmaCenterHz)));
    fields_[kWlan11aCenter]->setText(QString::fromStdString(MegahertzText(setup.wlan11aCenterHz)));
    fields_[kWlan11bCenter]->setText(QString::fromStdString(MegahertzText(setup.wlan11bCenterHz)));
    fields_[kReferenceLevel]->setText(
        QString::fromStdString(GeneralNumber(setup.referenceLevelDbm)));
    board_->setValue(setup.address.board);
    address_->setValue(setup.address.primaryAddress);
    problem_->clear();
}

MeasurementSetup SetupDialog::Read(QString& problem) const {
    MeasurementSetup setup = setup_;
    for (std::size_t i = 0; i < kTextFieldForms.size() && problem.isEmpty(); ++i) {
        std::string value = fields_[i]->text().trimmed().toStdString();
        // In a field marked MHz a bare number is in MHz; the command line takes it in Hz.
        if (kTextFieldForms[i].megahertz && SetupOptions::Number(value)) value += "MHz";
        const std::string reason = SetupOptions::Apply(kTextFieldForms[i].option, value, setup);
        if (!reason.empty()) {
            // "--ref-level: 'x' is not ..." in the words of the dialog.
            const std::string label = kTextFieldForms[i].label;
            problem = QString::fromStdString(label.substr(0, label.find(" (")) +
                                             reason.substr(reason.find(':')));
            fields_[i]->setFocus();
        }
    }
    setup.address.board = board_->value();
    setup.address.primaryAddress = address_->value();
    return setup;
}

void SetupDialog::accept() {
    QString problem;
    const MeasurementSetup setup = Read(problem);
    if (!problem.isEmpty()) {
        problem_->setText(problem);
        return;
    }
    setup_ = setup;
    QDialog::accept();
}

}  // namespace kelvane
