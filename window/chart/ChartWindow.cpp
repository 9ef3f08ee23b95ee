#include "window/chart/ChartWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "charts/ChartFileName.h"
#include "charts/RecordChart.h"
#include "charts/drawing/ChartFiles.h"
#include "window/chart/ChartView.h"

namespace kelvane {

namespace {

const QString kCaption = QStringLiteral("Kelvane - Chart");

// A value as the log shows its kind: levels to a hundredth of a dB, frequencies in MHz.
QString ValueOf(const MeasuredValue& value) {
    if (value.unit == "Hz") return QString::number(value.value / 1e6, 'f', 3) + " MHz";
    return QString::number(value.value, 'f', 2) + QLatin1Char(' ') +
           QString::fromStdString(value.unit);
}

}  // namespace

ChartWindow::ChartWindow(QWidget* owner)
    : QWidget(owner, Qt::Window),
      view_(new ChartView(this)),
      saveButton_(new QPushButton(QStringLiteral("Save picture as..."), this)),
      showAction_(new QAction(QStringLiteral("Show &chart"), owner)),
      saveAction_(new QAction(QStringLiteral("&Save picture as..."), this)),
      files_(FileChoice::Dialogs(this)) {
    setObjectName(QStringLiteral("chartWindow"));
    // The main window's closing ends the program, whether the chart is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(kCaption);
    resize(800, 500);
    setMinimumSize(640, 400);

    saveButton_->setObjectName(QStringLiteral("savePictureButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    buttons->setContentsMargins(8, 0, 8, 0);

    showAction_->setObjectName(QStringLiteral("showChartAction"));
    showAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    showAction_->setShortcutContext(Qt::WindowShortcut);
    owner->addAction(showAction_);
    connect(showAction_, &QAction::triggered, this, &ChartWindow::Open);

    saveAction_->setObjectName(QStringLiteral("savePictureAction"));
    saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(saveAction_);
    connect(saveAction_, &QAction::triggered, this, &ChartWindow::AskAndSave);
    connect(saveButton_, &QPushButton::clicked, saveAction_, &QAction::trigger);
    connect(saveAction_, &QAction::enabledChanged, saveButton_, &QPushButton::setEnabled);
    saveAction_->setEnabled(false);
}

void ChartWindow::Follow(const MeasurementRecord& record, const QString& name) {
    Show(ChartFor(record), ValueText(record, name), QString::fromStdString(ChartFileStem(record)));
}

void ChartWindow::Show(std::optional<ChartModel> model, const QString& valueText,
                       const QString& stem) {
    stem_ = stem;
    if (model) {
        setWindowTitle(kCaption + QStringLiteral(": ") + QString::fromStdString(model->title));
        view_->ShowChart(*model);
    } else {
        setWindowTitle(kCaption);
        view_->ShowValue(valueText);
    }
    saveAction_->setEnabled(model.has_value());
}

QPoint ChartWindow::Beside(const QRect& ownerFrame, const QSize& size, const QRect& screen) {
    const int roomRight = screen.right() - ownerFrame.right();
    const int roomBelow = screen.bottom() - ownerFrame.bottom();
    const bool right =
        roomRight >= size.width() || (roomBelow < size.height() && roomRight >= roomBelow);
    QPoint at = right ? QPoint(ownerFrame.right() + 1, ownerFrame.top())
                      : QPoint(ownerFrame.left(), ownerFrame.bottom() + 1);
    at.setX(std::clamp(at.x(), screen.left(),
                       std::max(screen.left(), screen.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), screen.top(),
                       std::max(screen.top(), screen.bottom() + 1 - size.height())));
    return at;
}

void ChartWindow::Open() {
    QWidget* owner = parentWidget();
    if (!isVisible() && owner != nullptr && owner->screen() != nullptr) {
        // The frame's decorations are the window system's: the owner's show its size.
        const QSize decorations = owner->frameGeometry().size() - owner->size();
        move(Beside(owner->frameGeometry(), size() + decorations,
                    owner->screen()->availableGeometry()));
    }
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

QString ChartWindow::ValueText(const MeasurementRecord& record, const QString& name) {
    QStringList values;
    for (const MeasuredValue& value : record.result.values) values << ValueOf(value);
    QString text =
        name + QStringLiteral(": ") +
        (values.isEmpty() ? QStringLiteral("no value") : values.join(QStringLiteral(", ")));
    if (!record.result.message.empty())
        text += QLatin1Char('\n') + QString::fromStdString(record.result.message);
    return text;
}

QString ChartWindow::SavePicture(const QString& path) {
    const std::optional<ChartModel>& model = view_->Model();
    if (!model) return QStringLiteral("There is no chart to save.");
    const QString reason = SaveChartPicture(*model, path);
    if (reason.isEmpty()) return {};
    return QStringLiteral("Cannot write \"%1\": %2").arg(path, reason);
}

void ChartWindow::AskAndSave() {
    if (!view_->Model()) return;
    const QString suggestion =
        (stem_.isEmpty() ? QStringLiteral("kelvane-chart") : stem_) + QStringLiteral(".png");
    QString path = files_.choose(QStringLiteral("Save picture as"), suggestion,
                                 QStringLiteral("PNG image (*.png);;SVG image (*.svg);;"
                                                "JPEG image (*.jpg *.jpeg)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    if (const QString problem = SavePicture(path); !problem.isEmpty()) files_.present(problem);
}

}  // namespace kelvane
