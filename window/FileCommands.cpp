#include "window/FileCommands.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <utility>

namespace kelvane {

namespace {

// Writes the bytes to the file at once, replacing it only when all went through.
QString Write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
}

}  // namespace

FileCommands::FileCommands(QWidget* window, QPlainTextEdit* log, RecordsText records)
    : QObject(window),
      log_(log),
      records_(std::move(records)),
      saveLog_(new QAction(QStringLiteral("&Save log as..."), window)),
      saveResults_(new QAction(QStringLiteral("Save &results as..."), window)),
      files_(FileChoice::Dialogs(window)) {
    saveLog_->setObjectName(QStringLiteral("saveLogAction"));
    saveLog_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveResults_->setObjectName(QStringLiteral("saveResultsAction"));
    saveResults_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    for (QAction* action : {saveLog_, saveResults_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    connect(saveLog_, &QAction::triggered, this, [this] {
        AskAndSave(QStringLiteral("Save log as"), QStringLiteral("kelvane-log.txt"),
                   QStringLiteral("Text (*.txt);;All files (*)"), &FileCommands::SaveLog);
    });
    connect(saveResults_, &QAction::triggered, this, [this] {
        AskAndSave(QStringLiteral("Save results as"), QStringLiteral("kelvane-results.jsonl"),
                   QStringLiteral("JSON Lines (*.jsonl);;CSV (*.csv);;All files (*)"),
                   &FileCommands::SaveResults);
    });
}

void FileCommands::AskAndSave(const QString& title, const QString& suggestion,
                              const QString& filter,
                              QString (FileCommands::*save)(const QString&)) {
    const QString path = files_.choose(title, suggestion, filter);
    if (path.isEmpty()) return;
    if (const QString problem = (this->*save)(path); !problem.isEmpty()) files_.present(problem);
}

QString FileCommands::SaveLog(const QString& path) {
    // The log's line breaks as the measurements wrote them: CR LF.
    QString text = log_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return Write(path, text.toUtf8());
}

QString FileCommands::SaveResults(const QString& path) {
    const RecordFormat format = RecordFormatFor(path.toStdString());
    const std::string text = records_(format);
    return Write(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace kelvane
