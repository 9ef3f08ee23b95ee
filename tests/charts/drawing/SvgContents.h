#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QTransform>
#include <QXmlStreamReader>
#include <vector>

// What an SVG written by QSvgGenerator draws, read back for the tests: its texts and its shapes
// in the SVG's own coordinates (the groups' transforms applied), with the colours of their
// groups. Qt writes one level of <g> per painter state around <text>, <polyline>, <path>,
// <circle> and <rect> elements.
namespace kelvane::testing {

struct SvgText {
    QString text;
    QPointF baseline;  // where the text starts, on its baseline
    double fontSize = 0;
    bool bold = false;
    QString fill;
    bool turned = false;  // drawn rotated (the y axis' title)
};

struct SvgShape {
    QString element;        // "polyline", "path", "circle" or "rect"
    QList<QPointF> points;  // a polyline's or path's points; a circle's centre
    QRectF rect;            // a rect's
    QString stroke;         // of its group, "none" without
    QString fill;           // of its group
};

struct SvgContents {
    bool parsed = false;
    QString error;
    QString title;
    QString description;
    QRectF viewBox;
    std::vector<SvgText> texts;
    std::vector<SvgShape> shapes;

    // All texts, one a line.
    QString AllText() const {
        QStringList lines;
        for (const SvgText& text : texts) lines << text.text;
        return lines.join(QLatin1Char('\n'));
    }
    bool HasText(const QString& part) const {
        for (const SvgText& text : texts)
            if (text.text.contains(part)) return true;
        return false;
    }
};

inline QList<double> SvgNumbers(const QString& text) {
    static const QRegularExpression number(QStringLiteral("-?[0-9]*\\.?[0-9]+(e-?[0-9]+)?"));
    QList<double> numbers;
    for (auto match = number.globalMatch(text); match.hasNext();)
        numbers << match.next().captured(0).toDouble();
    return numbers;
}

inline QList<QPointF> SvgPoints(const QString& text, const QTransform& transform) {
    const QList<double> numbers = SvgNumbers(text);
    QList<QPointF> points;
    for (qsizetype i = 0; i + 1 < numbers.size(); i += 2)
        points << transform.map(QPointF(numbers[i], numbers[i + 1]));
    return points;
}

inline QTransform SvgTransform(const QString& attribute) {
    const QList<double> m = SvgNumbers(attribute);
    if (!attribute.startsWith(QStringLiteral("matrix(")) || m.size() != 6) return {};
    return QTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

inline SvgContents ReadSvg(const QByteArray& svg) {
    SvgContents contents;
    QXmlStreamReader reader(svg);
    struct Group {
        QTransform transform;
        QString stroke;
        QString fill;
    };
    std::vector<Group> groups{{QTransform(), QStringLiteral("none"), QStringLiteral("none")}};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == QLatin1String("g")) {
            if (groups.size() > 1) groups.pop_back();
            continue;
        }
        if (!reader.isStartElement()) continue;
        const QXmlStreamAttributes a = reader.attributes();
        const QString name = reader.name().toString();
        const Group& group = groups.back();
        if (name == QLatin1String("svg")) {
            const QList<double> box = SvgNumbers(a.value(QLatin1String("viewBox")).toString());
            if (box.size() == 4) contents.viewBox = QRectF(box[0], box[1], box[2], box[3]);
        } else if (name == QLatin1String("title")) {
            contents.title = reader.readElementText();
        } else if (name == QLatin1String("desc")) {
            contents.description = reader.readElementText();
        } else if (name == QLatin1String("g")) {
            Group inner = group;
            if (a.hasAttribute(QLatin1String("transform")))
                inner.transform = SvgTransform(a.value(QLatin1String("transform")).toString());
            if (a.hasAttribute(QLatin1String("stroke")))
                inner.stroke = a.value(QLatin1String("stroke")).toString();
            if (a.hasAttribute(QLatin1String("fill")))
                inner.fill = a.value(QLatin1String("fill")).toString();
            groups.push_back(inner);
        } else if (name == QLatin1String("text")) {
            SvgText text;
            text.baseline = group.transform.map(QPointF(a.value(QLatin1String("x")).toDouble(),
                                                        a.value(QLatin1String("y")).toDouble()));
            text.fontSize = a.value(QLatin1String("font-size")).toDouble();
            text.bold = a.value(QLatin1String("font-weight")).toInt() >= 600;
            text.fill = a.value(QLatin1String("fill")).toString();
            text.turned = group.transform.m12() != 0;
            text.text = reader.readElementText();
            contents.texts.push_back(text);
        } else if (name == QLatin1String("polyline") || name == QLatin1String("path")) {
            const QString data = a.value(name == QLatin1String("path") ? QLatin1String("d")
                                                                       : QLatin1String("points"))
                                     .toString();
            contents.shapes.push_back(
                {name, SvgPoints(data, group.transform), {}, group.stroke, group.fill});
        } else if (name == QLatin1String("circle")) {
            const QPointF centre = group.transform.map(QPointF(
                a.value(QLatin1String("cx")).toDouble(), a.value(QLatin1String("cy")).toDouble()));
            contents.shapes.push_back({name, {centre}, {}, group.stroke, group.fill});
        } else if (name == QLatin1String("rect")) {
            const QRectF rect(a.value(QLatin1String("x")).toDouble(),
                              a.value(QLatin1String("y")).toDouble(),
                              a.value(QLatin1String("width")).toDouble(),
                              a.value(QLatin1String("height")).toDouble());
            contents.shapes.push_back(
                {name, {}, group.transform.mapRect(rect), group.stroke, group.fill});
        }
    }
    contents.parsed = !reader.hasError();
    contents.error = reader.errorString();
    return contents;
}

}  // namespace kelvane::testing
