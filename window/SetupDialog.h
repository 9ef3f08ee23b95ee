#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "measurements/MeasurementSetup.h"
#include "results/RecordOrigin.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace kelvane {

// The bench's set-up, to be changed by keyboard or mouse, with the command line's limits: the
// three carrier frequencies (in MHz when a plain number; in Hz when a number with an exponent,
// 2140e6, as on the command line; else with its unit: 2.14GHz), the reference level in dBm, the
// path loss in dB or the file of a path loss table (empty: none), the base
// station's rated power in dBm (empty: none), the GPIB board and the analyzer's primary address;
// and whose measurements they are: the DUT's serial number and the operator (the station stays).
// OK takes the values only when all of them are accepted and a path loss table covers the three
// carriers; otherwise the first problem is shown and the dialog stays. "Defaults" puts the
// default set-up into the fields, but keeps the DUT and the operator.
class SetupDialog : public QDialog {
    Q_OBJECT

public:
    // boardSelectable: false on an adapter bus, which has no board index.
    SetupDialog(const MeasurementSetup& setup, const RecordOrigin& origin, bool boardSelectable,
                QWidget* parent = nullptr);

    // The accepted values, after OK.
    const MeasurementSetup& Setup() const { return setup_; }
    const RecordOrigin& Origin() const { return origin_; }

    void accept() override;

private:
    void Show(const MeasurementSetup& setup);
    // The set-up and origin the fields hold; empty `problem` when all are accepted.
    MeasurementSetup Read(QString& problem, RecordOrigin& origin) const;
    // The path loss field into `setup`: a loss in dB, or "table: FILE" / FILE of a path loss
    // table (read now unless it is the table the dialog opened with); the reason it is refused.
    std::string ReadPathLoss(const std::string& value, MeasurementSetup& setup) const;

    enum Field {
        kWcdmaCenter,
        kWlan11aCenter,
        kWlan11bCenter,
        kReferenceLevel,
        kPathLoss,
        kBsPower,
        kDut,
        kOperator,
        kTextFields
    };
    std::array<QLineEdit*, kTextFields> fields_{};
    QSpinBox* board_ = nullptr;
    QSpinBox* address_ = nullptr;
    QLabel* problem_ = nullptr;
    MeasurementSetup setup_;
    RecordOrigin origin_;
};

}  // namespace kelvane
