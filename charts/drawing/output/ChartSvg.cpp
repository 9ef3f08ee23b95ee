#include "charts/drawing/output/ChartSvg.h"

#include <QBuffer>
#include <QPainter>
#include <QStringList>
#include <QSvgGenerator>

#include "charts/drawing/ChartPainter.h"

namespace kelvane {

namespace {

constexpr int kChartWidth = 960;  // the chart's own size, as its SVG files have it
constexpr int kChartHeight = 600;
constexpr int kSvgDotsPerInch = 96;

// Text for an SVG element: & < > " escaped, control characters (a line break too) as U+FFFD.
QString Escaped(const QString& text) {
    QString clean = text;
    for (QChar& c : clean)
        if (c.category() == QChar::Other_Control) c = QChar(QChar::ReplacementCharacter);
    return clean.toHtmlEscaped();
}

// Removes the first <name>...</name> element, which holds Qt's own default text.
void RemoveElement(QByteArray& svg, const QByteArray& name) {
    const qsizetype begin = svg.indexOf("<" + name + ">");
    const qsizetype end = svg.indexOf("</" + name + ">", begin);
    if (begin < 0 || end < 0) return;
    svg.remove(begin, end + name.size() + 3 - begin);
}

// Removes the attribute `name="..."` from the root element's tag, which ends at `tagEnd`.
void RemoveAttribute(QByteArray& svg, const QByteArray& name, qsizetype& tagEnd) {
    const qsizetype at = svg.indexOf(" " + name + "=\"");
    if (at < 0 || at > tagEnd) return;
    const qsizetype close = svg.indexOf('"', at + name.size() + 3);
    if (close < 0 || close > tagEnd) return;
    svg.remove(at, close + 1 - at);
    tagEnd -= close + 1 - at;
}

}  // namespace

std::string ChartSvg::operator()(const ChartModel& model) {
    application_.MakeSure();
    return Text(model);
}

std::string ChartSvg::Text(const ChartModel& model) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        // No title or description through the generator: it writes them as they are, unescaped.
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(kChartWidth, kChartHeight));
        generator.setViewBox(QRect(0, 0, kChartWidth, kChartHeight));
        generator.setResolution(kSvgDotsPerInch);
        QPainter painter;
        if (!painter.begin(&generator)) return {};
        ChartPainter::Paint(painter, QRectF(0, 0, kChartWidth, kChartHeight), model);
        if (!painter.end()) return {};
    }
    QByteArray svg = buffer.data();
    const qsizetype root = svg.indexOf("<svg");
    if (root < 0) return {};
    svg.remove(0, root);  // the XML prolog: the page is HTML
    qsizetype tagEnd = svg.indexOf('>');
    if (tagEnd < 0) return {};
    RemoveAttribute(svg, "width", tagEnd);
    RemoveAttribute(svg, "height", tagEnd);
    RemoveElement(svg, "title");
    RemoveElement(svg, "desc");
    // Whatever a text element holds has been escaped by the generator; what it lets through of
    // control characters, XML forbids.
    for (char& c : svg) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\r' && c != '\t') || byte == 0x7F) c = '?';
    }
    QStringList facts;
    for (const std::string& fact : model.facts) facts << QString::fromStdString(fact);
    const QByteArray named =
        " role=\"img\">\n<title>" + Escaped(QString::fromStdString(model.title)).toUtf8() +
        "</title>\n<desc>" + Escaped(facts.join(QStringLiteral(" / "))).toUtf8() + "</desc>";
    svg.replace(tagEnd, 1, named);
    return svg.toStdString();
}

}  // namespace kelvane
