#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QPlainTextEdit;
class QWidget;

#include "results/RecordFormats.h"
#include "window/FileChoice.h"

namespace kelvane {

// The window's file commands: "Save log as..." (Ctrl+S) writes the log's text byte for byte,
// with CR LF line ends; "Save results as..." (Ctrl+Shift+S) writes the records of the window's
// measurements, JSON Lines or CSV by the file's name. A file that cannot be written is reported
// with its name and the reason; the log does not change either way.
class FileCommands : public QObject {
    Q_OBJECT

public:
    using FileChooser = FileChoice::Chooser;
    using ProblemPresenter = FileChoice::Presenter;

    // Every record of the window's measurements in a format, as a file of its own holds them.
    using RecordsText = std::function<std::string(RecordFormat format)>;

    // `window` holds the actions and their shortcuts; `log` must outlive this.
    FileCommands(QWidget* window, QPlainTextEdit* log, RecordsText records);

    QAction* SaveLogAction() const { return saveLog_; }
    QAction* SaveResultsAction() const { return saveResults_; }

    // Replace the file dialog and the message box (the tests do).
    void SetFileChooser(FileChooser chooser) { files_.choose = std::move(chooser); }
    void SetProblemPresenter(ProblemPresenter presenter) { files_.present = std::move(presenter); }

    // Shows a problem through the presenter.
    void Present(const QString& message) const { files_.present(message); }

    // Write to `path`; empty on success, else the message shown.
    QString SaveLog(const QString& path);
    QString SaveResults(const QString& path);

private:
    void AskAndSave(const QString& title, const QString& suggestion, const QString& filter,
                    QString (FileCommands::*save)(const QString&));

    QPlainTextEdit* log_;
    RecordsText records_;
    QAction* saveLog_;
    QAction* saveResults_;
    FileChoice files_;
};

}  // namespace kelvane
