// The set-up dialog: reached by keyboard and from the log's context menu, refusing values the
// command line refuses, and setting the bench for the next measurement only.
#include <QtTest>
#include <QtWidgets>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "tests/support/TemporaryFolder.h"
#include "tests/window/WindowFixture.h"
#include "window/SetupDialog.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

// Runs `act` on the next modal dialog (or popup menu) once it is open.
void WhenOpen(const std::function<void(QWidget*)>& act, bool popup = false) {
    QTimer::singleShot(0, [act, popup] {
        QWidget* open = nullptr;
        QTRY_VERIFY((open = popup ? QApplication::activePopupWidget()
                                  : QApplication::activeModalWidget()) != nullptr);
        act(open);
    });
}

// A key as the operator presses it in the dialog: at the field that has the focus.
void Press(QWidget* dialog, Qt::Key key) {
    QWidget* focus = dialog->focusWidget();
    QTest::keyClick(focus != nullptr ? focus : dialog, key);
}

void Type(QWidget* dialog, const char* field, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(field));
    QVERIFY(edit != nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

class SetupDialogTest : public QObject {
    Q_OBJECT

private slots:
    // Ctrl+E, a value out of range (the dialog says why and stays), then good values and Enter:
    // the caption names what differs from the defaults, and the next measurement runs with them.
    void keyboard() {
        WindowFixture rig(false);
        rig.driver.ReplyAlways("*STB?", "128");
        rig.driver.Reply("PWCH?", {"-10.2"});
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        bool refusedFirst = false;
        WhenOpen([&refusedFirst](QWidget* dialog) {
            Type(dialog, "wcdma-center", "70000");
            Press(dialog, Qt::Key_Return);
            const auto* problem = dialog->findChild<QLabel*>("problem");
            refusedFirst = dialog->isVisible() &&
                           problem->text() ==
                               "W-CDMA center: '70000MHz' is not a frequency from 12.5 MHz to 50 "
                               "GHz (e.g. 2140MHz, 2.14GHz, 2140e6)";
            Type(dialog, "wcdma-center", "2.14GHz");
            Type(dialog, "ref-level", "-10");
            dialog->findChild<QSpinBox*>("board")->setValue(1);
            dialog->findChild<QSpinBox*>("address")->setValue(18);
            Press(dialog, Qt::Key_Return);
        });
        QTest::keyClick(&rig.window, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(refusedFirst);
        QCOMPARE(rig.window.windowTitle(),
                 QStringLiteral("Kelvane (V1.2) - W-CDMA 2140 MHz, reference level -10 dBm, GPIB "
                                "board 1, address 18"));
        QVERIFY(rig.RunToEnd(rig.Button(MainWindow::kChPowerButton)));
        const QStringList transcript = rig.Transcript();
        for (const char* call :
             {"ibdev(1, 18, 0, 13, 1, 0)", "ibwrt(16, \"CF 2140000000HZ\", 15)",
              "ibwrt(16, \"RL -10DB\", 8)", "ibwrt(16, \"WLX 2140000000HZ\", 16)", "ibonl(1, 0)"})
            QVERIFY2(transcript.contains(call), call);
        QVERIFY(!rig.Log().contains("2140"));  // the log gains no line for the set-up
    }

    // From the log's context menu; Escape keeps the set-up, and "Defaults" restores it.
    void contextMenuAndCancel() {
        WindowFixture rig(false);
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        rig.window.SetSetup({2140e6, 5180e6, 2462e6, -10.0, {1, 18}, {}, std::nullopt});
        bool offered = false;
        WhenOpen(
            [&offered](QWidget* menu) {
                for (QAction* action : menu->actions())
                    offered |= action->objectName() == "setupAction";
                menu->close();
            },
            true);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                rig.window.Log()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(rig.window.Log(), &event);
        QVERIFY(offered);
        WhenOpen([](QWidget* dialog) {
            Type(dialog, "wlan-11a-center", "5500");
            Press(dialog, Qt::Key_Escape);
        });
        rig.window.SetupAction()->trigger();
        QCOMPARE(rig.window.Setup(),
                 (MeasurementSetup{2140e6, 5180e6, 2462e6, -10.0, {1, 18}, {}, std::nullopt}));

        WhenOpen([](QWidget* dialog) {
            auto* box = dialog->findChild<QDialogButtonBox*>();
            QTest::mouseClick(box->button(QDialogButtonBox::RestoreDefaults), Qt::LeftButton);
            QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        rig.window.EditSetup();
        QCOMPARE(rig.window.Setup(), MeasurementSetup{});
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Kelvane (V1.2)"));
    }

    // Path loss, base station power, DUT and operator: set for the next measurement, named in
    // the caption (but the DUT and operator), and emptied again to none.
    void levelsAtTheDutAndWhoseTheyAre() {
        WindowFixture rig(false);
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        WhenOpen([](QWidget* dialog) {
            Type(dialog, "path-loss", "30");
            Type(dialog, "bs-power", "43dBm");
            Type(dialog, "dut", "SN 42");
            Type(dialog, "operator", "Ann");
            Press(dialog, Qt::Key_Return);
        });
        rig.window.EditSetup();
        QCOMPARE(rig.window.Setup().pathLoss, PathLoss::Fixed(30));
        QCOMPARE(rig.window.Setup().bsPowerDbm, std::optional<double>(43));
        QCOMPARE(rig.window.Origin(), (RecordOrigin{"SN 42", "Ann", ""}));
        QCOMPARE(rig.window.windowTitle(),
                 QStringLiteral("Kelvane (V1.2) - levels at the DUT, path loss 30 dB, base station "
                                "43 dBm"));
        WhenOpen([](QWidget* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>("dut")->text(), QStringLiteral("SN 42"));
            for (const char* field : {"path-loss", "bs-power"}) {
                Type(dialog, field, "");
                QTest::keyClick(dialog->findChild<QLineEdit*>(field), Qt::Key_Backspace);
            }
            Press(dialog, Qt::Key_Return);
        });
        rig.window.EditSetup();
        QCOMPARE(rig.window.Setup(), MeasurementSetup{});
        QCOMPARE(rig.window.Origin(), (RecordOrigin{"SN 42", "Ann", ""}));
    }

    // What a field's message suggests, the field accepts: a plain number is in MHz, one with
    // an exponent in Hz (5180e6), as on the command line; and the other fields' checks.
    void fieldsAcceptWhatTheySuggest() {
        struct Case {
            const char* field;
            QString text;
            QString problem;  // empty: accepted
        };
        const QString wlan11a = QStringLiteral(
            " is not a frequency from 40 MHz to 50 GHz (e.g. 5180MHz, 5.18GHz, 5180e6)");
        const Case cases[]{
            {"wlan-11a-center", "5180e6", ""},
            {"wlan-11a-center", "5.18GHz", ""},
            {"wlan-11a-center", "5.18", "802.11a center: '5.18MHz'" + wlan11a},
            {"wlan-11a-center", "5180e3", "802.11a center: '5180e3Hz'" + wlan11a},
            {"ref-level", "-20.5dBm", ""},
            {"path-loss", "101",
             "Path loss: '101' is not a path loss from -50 to +100 dB (a gain is negative)"},
            {"dut", "a\tb",
             "DUT serial: 'a\\x09b' is not a serial number of at most 200 bytes without control "
             "characters"},
        };
        for (const Case& c : cases) {
            SetupDialog dialog({}, {}, true);
            dialog.findChild<QLineEdit*>(c.field)->setText(c.text);
            dialog.accept();
            QCOMPARE(dialog.findChild<QLabel*>("problem")->text(), c.problem);
            QCOMPARE(dialog.result() == QDialog::Accepted, c.problem.isEmpty());
        }
        SetupDialog dialog({}, {}, true);
        dialog.findChild<QLineEdit*>("wlan-11a-center")->setText("5180e6");
        dialog.accept();
        QCOMPARE(dialog.Setup().wlan11aCenterHz, 5180e6);
    }

    // A table from the command line is shown, kept (also by "Defaults") and must cover the
    // three carriers; the station stays as given.
    // The path loss field takes both forms: a loss in dB or a table's file; the table the
    // dialog opened with is kept as it was read, another one is read when OK is pressed.
    void pathLossInBothForms() {
        MeasurementSetup setup;
        setup.pathLoss = PathLoss::Table({{1.9e9, 1}, {2.5e9, 2}}, "/cal/loss.csv");
        setup.wlan11aCenterHz = 2.3e9;
        const TemporaryFolder folder;
        const std::string table = (folder.Path() / "loss.csv").string();
        {
            std::ofstream file(table);
            file << "frequency,loss\n1GHz,1\n6GHz,3\n";
        }
        struct Case {
            QString text;
            std::optional<PathLoss> loss;  // none: refused
            QString problem;
        };
        const std::vector<Case> cases{
            {"table: /cal/loss.csv", setup.pathLoss, ""},
            {"30dB", PathLoss::Fixed(30), ""},
            {"-3", PathLoss::Fixed(-3), ""},
            {"", PathLoss(), ""},
            {QString::fromStdString(table), PathLoss::Table({{1e9, 1}, {6e9, 3}}, table), ""},
            {"101", std::nullopt, "Path loss"},
            {"/no/such/loss.csv", std::nullopt, "/no/such/loss.csv"},
        };
        for (const Case& c : cases) {
            SetupDialog dialog(setup, {"SN 1", "Ann", "bench 3"}, true);
            auto* pathLoss = dialog.findChild<QLineEdit*>("path-loss");
            QCOMPARE(pathLoss->text(), QStringLiteral("table: /cal/loss.csv"));
            pathLoss->setText(c.text);
            dialog.accept();
            const QString problem = dialog.findChild<QLabel*>("problem")->text();
            QCOMPARE(dialog.result() == QDialog::Accepted, c.loss.has_value());
            QVERIFY2(problem.contains(c.problem), qPrintable(c.text + ": " + problem));
            if (c.loss) QCOMPARE(dialog.Setup().pathLoss, *c.loss);
        }
        // A table that does not cover a carrier is refused, naming it.
        setup.wlan11aCenterHz = 5005e6;
        SetupDialog dialog(setup, {}, true);
        dialog.accept();
        QCOMPARE(dialog.findChild<QLabel*>("problem")->text(),
                 QStringLiteral("Path loss table \"/cal/loss.csv\" covers 1900 MHz to 2500 MHz, "
                                "not 4965 MHz to 5045 MHz around the 802.11a carrier"));
    }

    // Over an adapter the board cannot be chosen.
    void boardFixedOnAnAdapter() {
        SetupDialog dialog({}, {}, false);
        QVERIFY(!dialog.findChild<QSpinBox*>("board")->isEnabled());
        QVERIFY(dialog.findChild<QSpinBox*>("address")->isEnabled());
    }
};

}  // namespace

QTEST_MAIN(SetupDialogTest)
#include "SetupDialogTest.moc"
