#pragma once

#include <QPushButton>

class QKeyEvent;

namespace kelvane {

// A push button that Enter and keypad Enter click as well as Space.
class MeasurementButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kelvane
