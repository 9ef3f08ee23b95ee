#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QPlainTextEdit;
class QWidget;

namespace kelvane {

class RecordKeeper;

// The window's file commands: "Save log as..." (Ctrl+S) writes the log's text byte for byte,
// with CR LF line ends; "Save results as..." (Ctrl+Shift+S) writes the records of the window's
// measurements, JSON Lines or CSV by the file's name. A file that cannot be written is reported
// with its name and the reason; the log does not change either way.
class FileCommands : public QObject {
    Q_OBJECT

public:
    // Asks for the file to write: title, suggested name, filter; empty when cancelled.
    using FileChooser = std::function<QString(const QString& title, const QString& suggestion,
                                              const QString& filter)>;
    // Shows a problem to the operator.
    using ProblemPresenter = std::function<void(const QString& message)>;

    // `window` holds the actions and their shortcuts; `log` and `records` must outlive this.
    FileCommands(QWidget* window, QPlainTextEdit* log, const RecordKeeper& records);

    QAction* SaveLogAction() const { return saveLog_; }
    QAction* SaveResultsAction() const { return saveResults_; }

    // Replace the file dialog and the message box (the tests do).
    void SetFileChooser(FileChooser chooser) { choose_ = std::move(chooser); }
    void SetProblemPresenter(ProblemPresenter presenter) { present_ = std::move(presenter); }

    // Shows a problem through the presenter.
    void Present(const QString& message) const { present_(message); }

    // Write to `path`; empty on success, else the message shown.
    QString SaveLog(const QString& path);
    QString SaveResults(const QString& path);

private:
    void AskAndSave(const QString& title, const QString& suggestion, const QString& filter,
                    QString (FileCommands::*save)(const QString&));

    QPlainTextEdit* log_;
    const RecordKeeper& records_;
    QAction* saveLog_;
    QAction* saveResults_;
    FileChooser choose_;
    ProblemPresenter present_;
};

}  // namespace kelvane
