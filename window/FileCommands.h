#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QPlainTextEdit;
class QWidget;

#include "results/MeasurementRecord.h"
#include "results/RecordFormats.h"
#include "window/FileChoice.h"

namespace kelvane {

// The window's file commands: "Save log as..." (Ctrl+S) writes the log's text byte for byte,
// with CR LF line ends; "Save results as..." (Ctrl+Shift+S) writes the records of the window's
// measurements, JSON Lines or CSV by the file's name; "Save report as..." (Ctrl+R) writes the
// HTML test report (ReportPage.h) of the measurements since the DUT last changed, "Save session
// report as..." (Ctrl+Shift+R) that of all the window's measurements. A file that cannot be
// written is reported with its name and the reason; the log does not change either way.
class FileCommands : public QObject {
    Q_OBJECT

public:
    using FileChooser = FileChoice::Chooser;
    using ProblemPresenter = FileChoice::Presenter;

    // Every record of the window's measurements in a format, as a file of its own holds them.
    // The records of the window's measurements, in the order they ended.
    using RecordList = std::function<std::vector<MeasurementRecord>()>;

    // `window` holds the actions and their shortcuts; `log` must outlive this; `records` gives
    // the records that "Save results as..." and the reports write.
    FileCommands(QWidget* window, QPlainTextEdit* log, RecordList records);

    QAction* SaveLogAction() const { return saveLog_; }
    QAction* SaveResultsAction() const { return saveResults_; }
    QAction* SaveReportAction() const { return saveReport_; }
    QAction* SaveSessionReportAction() const { return saveSessionReport_; }

    // Replace the file dialog and the message box (the tests do).
    void SetFileChooser(FileChooser chooser) { files_.choose = std::move(chooser); }
    void SetProblemPresenter(ProblemPresenter presenter) { files_.present = std::move(presenter); }

    // Shows a problem through the presenter.
    void Present(const QString& message) const { files_.present(message); }

    // Write to `path`; empty on success, else the message shown.
    QString SaveLog(const QString& path);
    QString SaveResults(const QString& path);
    // The report of the measurements since the DUT last changed (RecordsOfNewestDut), or of all.
    QString SaveReport(const QString& path);
    QString SaveSessionReport(const QString& path);

private:
    void AskAndSave(const QString& title, const QString& suggestion, const QString& filter,
                    QString (FileCommands::*save)(const QString&));
    // The records a report shows: all, or those since the DUT last changed.
    std::vector<MeasurementRecord> ReportRecords(bool session) const;
    // Asks for a file and writes the report, or says that there is no measurement yet.
    void AskAndSaveReport(bool session);
    QString WriteReport(const QString& path, bool session) const;

    QPlainTextEdit* log_;
    RecordList records_;
    QAction* saveLog_;
    QAction* saveResults_;
    QAction* saveReport_;
    QAction* saveSessionReport_;
    FileChoice files_;
};

}  // namespace kelvane
