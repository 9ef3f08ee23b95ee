#include "window/Form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <exception>
#include <utility>

#include "bus/GpibRegistrationFailure.h"
#include "measurements/3gpp/AdjacentChannelPower.h"
#include "measurements/3gpp/ChannelPower.h"
#include "measurements/3gpp/EmissionMask3gpp.h"
#include "measurements/3gpp/OccupiedBandwidth.h"
#include "measurements/MeasurementCatalog.h"
#include "measurements/wlan/TotalPower11b.h"
#include "measurements/wlan/WlanEmissionMask.h"
#include "window/ExitStatus.h"
#include "window/Form1Layout.h"
#include "window/kelvane.xpm"

namespace kelvane {

namespace {

using namespace form1_layout;

void Place(QWidget* widget, const TwipsRect& r) {
    widget->setGeometry(r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel,
                        r.height / kTwipsPerPixel);
}

// Bold 8.25 pt in the highlight colour, in the classic dialog face where it is installed.
void StyleRowLabel(QLabel* label) {
    QFont font = label->font();
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) {
        font.setFamily(QStringLiteral("MS Sans Serif"));
    }
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// The result tables line up in columns only with a fixed-pitch face.
QFont ResultLogFont() {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("MS Gothic"))
                     ? QFont(QStringLiteral("MS Gothic"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

Form1::Form1(AnalyzerSession& session, Clock& clock, bool simulated, QWidget* parent)
    : QWidget(parent), session_(session), clock_(clock), log_(*this), exitAction_([](int status) {
          QCoreApplication::exit(status);
      }) {
    setWindowTitle(Caption(simulated));
    setWindowIcon(QIcon(QPixmap(kelvane_xpm)));
    setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
    CreateControls();
    txtRslt_->setPlainText(QString());
    command1_[3]->setFocus();
}

Form1::~Form1() = default;

QString Form1::Caption(bool simulated) {
    return simulated ? QStringLiteral("Kelvane (V1.2) [simulated analyzer]")
                     : QStringLiteral("Kelvane (V1.2)");
}

void Form1::CreateControls() {
    const auto makeButton = [this](const char* caption, const char* name, const TwipsRect& r) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        Place(button, r);
        return button;
    };
    command1_[0] = makeButton("OBW", "Command1", kObw);
    command1_[1] = makeButton("ACP", "Command1", kAcp);
    command1_[2] = makeButton("S.E.M.", "Command1", kSem);
    command1_[3] = makeButton("CH Power", "Command1", kChPower);
    command2_ = makeButton("SEM (11a)", "Command2", kSem11a);
    command3_ = makeButton("SEM (11b)", "Command3", kSem11b);
    command4_ = makeButton("Total Power (11b)", "Command4", kTotalPower11b);

    txtRslt_ = new QPlainTextEdit(this);
    txtRslt_->setObjectName(QStringLiteral("txtRslt"));
    Place(txtRslt_, kResultLog);
    txtRslt_->setFont(ResultLogFont());
    txtRslt_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtRslt_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtRslt_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtRslt_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtRslt_->setTabChangesFocus(true);

    label1_ = new QLabel(QStringLiteral("3GPP:"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    Place(label1_, kLabel3gpp);
    StyleRowLabel(label1_);
    label2_ = new QLabel(QStringLiteral("WLAN:"), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    Place(label2_, kLabelWlan);
    StyleRowLabel(label2_);

    // Tab order: CH Power, OBW, ACP, S.E.M., the three WLAN buttons, the log.
    const std::array<QWidget*, 8> tabOrder{command1_[3], command1_[0], command1_[1], command1_[2],
                                           command2_,    command3_,    command4_,    txtRslt_};
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }

    for (std::size_t i = 0; i < command1_.size(); ++i) {
        const auto index = static_cast<std::int16_t>(i);
        connect(command1_[i], &QPushButton::clicked, this, [this, index] { Command1Click(index); });
    }
    connect(command2_, &QPushButton::clicked, this, [this] { Command2Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { Command3Click(); });
    connect(command4_, &QPushButton::clicked, this, [this] { Command4Click(); });
}

void Form1::SetExitAction(ExitAction exitAction) { exitAction_ = std::move(exitAction); }

void Form1::AppendResult(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor = txtRslt_->textCursor();
    cursor.insertText(lines);
    txtRslt_->setTextCursor(cursor);
    txtRslt_->ensureCursorVisible();
}

MeasurementContext Form1::Context() { return MeasurementContext{session_, log_, clock_, events_}; }

void Form1::MeasSEM(double& measF, double& measRef) {
    MeasurementContext context = Context();
    EmissionMask3gpp(context, measF, measRef);
}

void Form1::MeasObw(double& measF, double& measRef) {
    MeasurementContext context = Context();
    OccupiedBandwidth(context, measF, measRef);
}

void Form1::MeasAcp(double& measF, double& measRef) {
    MeasurementContext context = Context();
    AdjacentChannelPower(context, measF, measRef);
}

void Form1::MeasChPow(double& measF, double& measRef) {
    MeasurementContext context = Context();
    ChannelPower(context, measF, measRef);
}

void Form1::Command1Click(std::int16_t index) {
    RunExclusive([this, index] {
        double measF = kWcdmaCenterHz;
        double measRef = kWcdmaReferenceDb;
        switch (index) {
        case 0:
            MeasObw(measF, measRef);
            break;
        case 1:
            MeasAcp(measF, measRef);
            break;
        case 2:
            MeasSEM(measF, measRef);
            break;
        case 3:
            MeasChPow(measF, measRef);
            break;
        default:
            break;
        }
    });
}

void Form1::Command2Click() { RunWlan(WlanEmissionMask11a); }

void Form1::Command3Click() { RunWlan(WlanEmissionMask11b); }

void Form1::Command4Click() { RunWlan(TotalPower11b); }

void Form1::RunWlan(MeasurementOutcome (*measurement)(MeasurementContext&)) {
    RunExclusive([this, measurement] {
        MeasurementContext context = Context();
        measurement(context);
    });
}

void Form1::RunExclusive(const std::function<void()>& measurement) {
    // The buttons are disabled while a measurement runs; this also stops a click that was
    // delivered some other way.
    if (measuring_) return;
    measuring_ = true;
    const QPointer<QWidget> focusBefore = focusWidget();
    SetButtonsEnabled(false);
    const QPointer<QWidget> focusWhileDisabled = focusWidget();

    bool registrationFailed = false;
    try {
        measurement();
    } catch (const GpibRegistrationFailure&) {
        registrationFailed = true;
    } catch (const std::exception& error) {
        AppendResult(QStringLiteral("\r\nMeasurement aborted: %1\r\n")
                         .arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        AppendResult(QStringLiteral("\r\nMeasurement aborted.\r\n"));
    }
    measuring_ = false;

    if (registrationFailed) {
        // The binding has shown its message; the program ends without another driver call.
        closePending_ = false;
        close();
        exitAction_(kExitRegistrationFailure);
        return;
    }
    SetButtonsEnabled(true);
    // Disabling moved the focus off the clicked button; give it back unless the operator has
    // moved it since.
    if (focusBefore != nullptr && focusWidget() == focusWhileDisabled) focusBefore->setFocus();
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

void Form1::SetButtonsEnabled(bool enabled) {
    for (QPushButton* button : command1_) button->setEnabled(enabled);
    command2_->setEnabled(enabled);
    command3_->setEnabled(enabled);
    command4_->setEnabled(enabled);
}

void Form1::closeEvent(QCloseEvent* event) {
    if (measuring_) {
        closePending_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kelvane
