#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

class QAction;
class QPushButton;

#include "window/FileChoice.h"

namespace kelvane {

class ChartView;

// The chart window: a window of its own beside the main window, showing the chart of the newest
// measurement (or its value, where it has no chart). It follows every measurement as it ends,
// also while it is hidden, so that it shows the newest when it is opened. "Save picture as..."
// (its button, or Ctrl+S in this window) writes the chart as PNG, SVG or JPEG by the file's
// name's ending (.png, .svg, .jpg or .jpeg in any case; PNG when the name has no suffix: ".png"
// is added); a name of any other ending is refused, and a file that cannot be written is
// reported, each with its name and the reason. Opens at 800 x 500, at least 640 x 400.
class ChartWindow : public QWidget {
    Q_OBJECT

public:
    using FileChooser = FileChoice::Chooser;
    using ProblemPresenter = FileChoice::Presenter;

    // A window of `owner`'s (closed and deleted with it), which also gets the "Show chart"
    // action and its shortcut, Ctrl+G.
    explicit ChartWindow(QWidget* owner);

    // Shows, raises and activates the window.
    QAction* ShowAction() const { return showAction_; }
    // "Save picture as...": enabled while a chart is shown.
    QAction* SaveAction() const { return saveAction_; }
    QPushButton* SaveButton() const { return saveButton_; }
    ChartView* View() const { return view_; }

    // Follows a measurement that has ended: its chart (ChartFor), or, without one, its value
    // under the measurement's name ("CH Power: -10.22 dBm").
    void Follow(const MeasurementRecord& record, const QString& name);
    // Shows the chart, or the text where there is none; `stem` names the picture's file.
    void Show(std::optional<ChartModel> model, const QString& valueText, const QString& stem);
    // Shows, raises and activates the window; a window that was not shown opens beside its
    // owner (Beside).
    void Open();
    // Where a window of `size` opens beside its owner's frame on a screen's available area:
    // right of it when the screen has room there, else below it, else where the screen has the
    // most room of the two, kept on the screen; never over the owner where it fits beside it.
    static QPoint Beside(const QRect& ownerFrame, const QSize& size, const QRect& screen);

    // Replace the file dialog and the message box (the tests do).
    void SetFileChooser(FileChooser chooser) { files_.choose = std::move(chooser); }
    void SetProblemPresenter(ProblemPresenter presenter) { files_.present = std::move(presenter); }

    // Writes the chart shown to `path`; empty on success, else the message shown.
    QString SavePicture(const QString& path);

    // A measurement's values for the window, behind its name: "CH Power: -10.22 dBm"; "CH Power:
    // no value" when it logged none; its failure or warning line on a line below.
    static QString ValueText(const MeasurementRecord& record, const QString& name);

private:
    void AskAndSave();

    ChartView* view_;
    QPushButton* saveButton_;
    QAction* showAction_;
    QAction* saveAction_;
    QString stem_;
    FileChoice files_;
};

}  // namespace kelvane
