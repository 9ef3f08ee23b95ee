#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "measurements/MeasurementSetup.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace kelvane {

// The bench's set-up, to be changed by keyboard or mouse: the three carrier frequencies (in MHz
// unless a unit is typed: 2.14GHz, 2140e6Hz), the reference level in dB, the GPIB board and the
// analyzer's primary address, with the command line's limits. OK takes the values only when all
// of them are accepted; otherwise the first problem is shown and the dialog stays. "Defaults"
// puts the default set-up into the fields.
class SetupDialog : public QDialog {
    Q_OBJECT

public:
    // boardSelectable: false on an adapter bus, which has no board index.
    SetupDialog(const MeasurementSetup& setup, bool boardSelectable, QWidget* parent = nullptr);

    // The accepted values, after OK.
    const MeasurementSetup& Setup() const { return setup_; }

    void accept() override;

private:
    void Show(const MeasurementSetup& setup);
    // The set-up the fields hold; empty `problem` when all are accepted.
    MeasurementSetup Read(QString& problem) const;

    enum Field { kWcdmaCenter, kWlan11aCenter, kWlan11bCenter, kReferenceLevel, kTextFields };
    std::array<QLineEdit*, kTextFields> fields_{};
    QSpinBox* board_ = nullptr;
    QSpinBox* address_ = nullptr;
    QLabel* problem_ = nullptr;
    MeasurementSetup setup_;
};

}  // namespace kelvane
