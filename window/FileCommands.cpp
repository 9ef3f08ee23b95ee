#include "window/FileCommands.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <utility>

#include "charts/drawing/output/ChartSvg.h"
#include "report/ReportPage.h"
#include "report/ReportScope.h"

namespace kelvane {

namespace {

// "report-SN0042.html": the DUT's serial as far as it is safe in a file name on any system.
QString ReportSuggestion(const std::vector<MeasurementRecord>& records) {
    const QString dut =
        records.empty() ? QString() : QString::fromStdString(records.back().origin.dut);
    QString safe;
    for (const QChar c : dut) {
        const bool plain = c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ||
                           c == QLatin1Char('.');
        safe += plain && c.unicode() < 0x80 ? c : QLatin1Char('_');
    }
    return safe.isEmpty() ? QStringLiteral("kelvane-report.html")
                          : QStringLiteral("report-%1.html").arg(safe.left(64));
}

// Writes the bytes to the file at once, replacing it only when all went through.
QString Write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
}

}  // namespace

FileCommands::FileCommands(QWidget* window, QPlainTextEdit* log, RecordList records)
    : QObject(window),
      log_(log),
      records_(std::move(records)),
      saveLog_(new QAction(QStringLiteral("&Save log as..."), window)),
      saveResults_(new QAction(QStringLiteral("Save &results as..."), window)),
      saveReport_(new QAction(QStringLiteral("Save re&port as..."), window)),
      saveSessionReport_(new QAction(QStringLiteral("Save session report as..."), window)),
      files_(FileChoice::Dialogs(window)) {
    saveLog_->setObjectName(QStringLiteral("saveLogAction"));
    saveLog_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveResults_->setObjectName(QStringLiteral("saveResultsAction"));
    saveResults_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    saveReport_->setObjectName(QStringLiteral("saveReportAction"));
    saveReport_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    saveSessionReport_->setObjectName(QStringLiteral("saveSessionReportAction"));
    saveSessionReport_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    for (QAction* action : {saveLog_, saveResults_, saveReport_, saveSessionReport_}) {
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
    connect(saveReport_, &QAction::triggered, this, [this] { AskAndSaveReport(false); });
    connect(saveSessionReport_, &QAction::triggered, this, [this] { AskAndSaveReport(true); });
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
    std::string text = format == RecordFormat::Csv ? CsvHeader() : std::string();
    for (const MeasurementRecord& record : records_()) text += RecordText(record, format);
    return Write(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

std::vector<MeasurementRecord> FileCommands::ReportRecords(bool session) const {
    std::vector<MeasurementRecord> records;
    if (records_) records = records_();
    return session ? records : RecordsOfNewestDut(records);
}

void FileCommands::AskAndSaveReport(bool session) {
    const std::vector<MeasurementRecord> records = ReportRecords(session);
    if (records.empty()) {
        files_.present(QStringLiteral("There is no measurement to report yet."));
        return;
    }
    AskAndSave(
        session ? QStringLiteral("Save session report as") : QStringLiteral("Save report as"),
        ReportSuggestion(records), QStringLiteral("HTML (*.html *.htm);;All files (*)"),
        session ? &FileCommands::SaveSessionReport : &FileCommands::SaveReport);
}

QString FileCommands::WriteReport(const QString& path, bool session) const {
    // The window's records carry their version, set-up and origin: the report's facts are theirs.
    const std::string page = ReportHtml(ReportRecords(session), {}, &ChartSvg::Text);
    return Write(path, QByteArray(page.data(), static_cast<qsizetype>(page.size())));
}

QString FileCommands::SaveReport(const QString& path) { return WriteReport(path, false); }

QString FileCommands::SaveSessionReport(const QString& path) { return WriteReport(path, true); }

}  // namespace kelvane
