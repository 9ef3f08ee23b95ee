#include "window/SetupDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <string>
#include <string_view>

#include "app/PathLossTable.h"
#include "app/SetupOptions.h"
#include "app/SetupText.h"
#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

// How a text field's value reaches its command line option.
enum class Entry {
    Megahertz,  // a plain number is in MHz, one with an exponent in Hz
    Number,     // as the option takes it
    Optional,   // as the option takes it; empty for none
    Origin,     // text of the record's origin
};

// Each text field: its label, the command line option that checks it, and its entry.
struct TextField {
    const char* label;
    const char* option;
    Entry entry;
};

// In the order of SetupDialog's Field.
constexpr std::array<TextField, 8> kTextFieldForms{{
    {"W-CDMA center (MHz):", "--wcdma-center", Entry::Megahertz},
    {"802.11a center (MHz):", "--wlan-11a-center", Entry::Megahertz},
    {"802.11b center (MHz):", "--wlan-11b-center", Entry::Megahertz},
    {"Reference level (dBm):", "--ref-level", Entry::Number},
    {"Path loss (dB or table):", "--path-loss", Entry::Optional},
    {"Base station power (dBm):", "--bs-power", Entry::Optional},
    {"DUT serial:", "--dut", Entry::Origin},
    {"Operator:", "--operator", Entry::Origin},
}};

// "--ref-level: 'x' is not ..." in the words of the dialog: "Reference level: 'x' is not ...".
QString InDialogWords(const char* label, const std::string& reason) {
    std::string name = label;
    name = name.substr(0, name.find(" ("));
    if (name.ends_with(':')) name.pop_back();
    return QString::fromStdString(name + reason.substr(reason.find(':')));
}

}  // namespace

SetupDialog::SetupDialog(const MeasurementSetup& setup, const RecordOrigin& origin,
                         bool boardSelectable, QWidget* parent)
    : QDialog(parent), setup_(setup), origin_(origin) {
    setWindowTitle(QStringLiteral("Set-up"));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < kTextFieldForms.size(); ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString::fromLatin1(kTextFieldForms[i].option + 2));
        if (kTextFieldForms[i].entry == Entry::Megahertz)
            fields_[i]->setToolTip(
                QStringLiteral("MHz; or with a unit (2.14GHz), or in Hz with "
                               "an exponent (2140e6)"));
    }
    for (std::size_t i = kWcdmaCenter; i < kDut; ++i)
        form->addRow(QString::fromLatin1(kTextFieldForms[i].label), fields_[i]);
    fields_[kPathLoss]->setPlaceholderText(QStringLiteral("none"));
    fields_[kBsPower]->setPlaceholderText(QStringLiteral("none"));
    fields_[kPathLoss]->setToolTip(
        QStringLiteral("A loss in dB (a gain negative), or the file of a path loss table: CSV "
                       "lines of frequency and loss"));
    board_ = new QSpinBox(this);
    board_->setObjectName(QStringLiteral("board"));
    board_->setRange(0, AnalyzerAddress::kMaxBoard);
    board_->setEnabled(boardSelectable);
    form->addRow(QStringLiteral("GPIB board:"), board_);
    address_ = new QSpinBox(this);
    address_->setObjectName(QStringLiteral("address"));
    address_->setRange(0, AnalyzerAddress::kMaxPrimaryAddress);
    form->addRow(QStringLiteral("Primary address:"), address_);
    for (std::size_t i = kDut; i < kTextFields; ++i)
        form->addRow(QString::fromLatin1(kTextFieldForms[i].label), fields_[i]);
    fields_[kDut]->setText(QString::fromStdString(origin.dut));
    fields_[kOperator]->setText(QString::fromStdString(origin.operatorName));

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
    if (setup.pathLoss.IsTable()) {
        fields_[kPathLoss]->setText(QStringLiteral("table: ") +
                                    QString::fromStdString(setup.pathLoss.File()));
        fields_[kPathLoss]->setCursorPosition(0);  // its start in sight: "table: ..."
    } else {
        fields_[kPathLoss]->setText(setup.pathLoss.IsNone() ? QString()
                                                            : QString::fromStdString(GeneralNumber(
                                                                  setup.pathLoss.FixedDb())));
    }
    fields_[kBsPower]->setText(
        setup.bsPowerDbm ? QString::fromStdString(GeneralNumber(*setup.bsPowerDbm)) : QString());
    board_->setValue(setup.address.board);
    address_->setValue(setup.address.primaryAddress);
    problem_->clear();
}

MeasurementSetup SetupDialog::Read(QString& problem, RecordOrigin& origin) const {
    MeasurementSetup setup = setup_;
    setup.pathLoss = PathLoss();
    setup.bsPowerDbm.reset();
    origin = origin_;
    for (std::size_t i = 0; i < kTextFieldForms.size() && problem.isEmpty(); ++i) {
        const TextField& form = kTextFieldForms[i];
        std::string value = fields_[i]->text().trimmed().toStdString();
        if (fields_[i]->isReadOnly() || (form.entry == Entry::Optional && value.empty())) continue;
        if (i == kPathLoss) {
            if (const std::string reason = ReadPathLoss(value, setup); !reason.empty()) {
                // A table's reason names its file and line: kept whole.
                constexpr std::string_view kTable = "--path-loss-table ";
                problem = reason.starts_with(kTable)
                              ? QStringLiteral("Path loss table ") +
                                    QString::fromStdString(reason.substr(kTable.size()))
                              : InDialogWords(form.label, reason);
                fields_[i]->setFocus();
            }
            continue;
        }
        // The unit of a plain number made plain, also in the reason: "'70000MHz' is not ...".
        if (form.entry == Entry::Megahertz && SetupOptions::Number(value))
            value += value.find_first_of("eE") == std::string::npos ? "MHz" : "Hz";
        const std::string reason = form.entry == Entry::Origin
                                       ? SetupOptions::ApplyOrigin(form.option, value, origin)
                                       : SetupOptions::Apply(form.option, value, setup);
        if (!reason.empty()) {
            problem = InDialogWords(form.label, reason);
            fields_[i]->setFocus();
        }
    }
    // A table must do for every measurement the window may start.
    using Carrier = PathLossTable::Carrier;
    for (const auto& [carrier, field] : {std::pair{Carrier::Wcdma, kWcdmaCenter},
                                         {Carrier::Wlan11a, kWlan11aCenter},
                                         {Carrier::Wlan11b, kWlan11bCenter}}) {
        if (!problem.isEmpty()) break;
        const std::string uncovered = PathLossTable::Uncovered(setup, {carrier});
        if (uncovered.empty()) continue;
        problem =
            QStringLiteral("Path loss table \"") +
            QString::fromStdString(SetupOptions::Shown(setup.pathLoss.File()) + "\" " + uncovered);
        fields_[field]->setFocus();
    }
    setup.address.board = board_->value();
    setup.address.primaryAddress = address_->value();
    return setup;
}

std::string SetupDialog::ReadPathLoss(const std::string& value, MeasurementSetup& setup) const {
    // A loss in dB, as --path-loss takes it; a refused number is a refused loss, not a file.
    const std::string reason = SetupOptions::Apply("--path-loss", value, setup);
    std::string number = value;
    if (number.size() > 2 && (number.ends_with("dB") || number.ends_with("db")))
        number.resize(number.size() - 2);
    if (reason.empty() || SetupOptions::Number(number)) return reason;
    // Else the file of a table: the one it holds stays as it was read, another one is read now.
    const std::string file = value.starts_with("table: ") ? value.substr(7) : value;
    if (setup_.pathLoss.IsTable() && file == setup_.pathLoss.File()) {
        setup.pathLoss = setup_.pathLoss;
        return {};
    }
    return PathLossTable::Read(file, setup.pathLoss);
}

void SetupDialog::accept() {
    QString problem;
    RecordOrigin origin;
    const MeasurementSetup setup = Read(problem, origin);
    if (!problem.isEmpty()) {
        problem_->setText(problem);
        return;
    }
    setup_ = setup;
    origin_ = origin;
    QDialog::accept();
}

}  // namespace kelvane
