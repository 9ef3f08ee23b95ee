// A chart's SVG for the report's page: an <svg> element that the page sizes, with every text of
// the model escaped, also where the SVG generator writes titles as they are.
#include <QString>
#include <QXmlStreamReader>
#include <string>

#include <gtest/gtest.h>

#include "charts/drawing/output/ChartSvg.h"

namespace kelvane {
namespace {

// A small ACP-like chart whose texts hold markup, quotes, control characters and a byte that is
// not UTF-8.
ChartModel HostileChart() {
    ChartModel model;
    model.title = "ACP </title><script>alert(1)</script> \"q\" \x01 FAIL";
    model.facts = {"acp (ACP <Measurement>...)", "carrier 2000 MHz", "line\nbreak", "caf\xE9"};
    model.verdict = Verdict::Fail;
    model.x = {"Offset </text> (MHz)", -15, 15, {-15, 0, 15}};
    model.y = {"Level (dBc)", -70, 10, {-70, 0, 10}};
    model.bars = {{0, 3.84, 0, ChartTone::Neutral, "carrier <b>&amp;</b>"},
                  {5, 3.84, -43, ChartTone::Fail, "-43 dB \x7F"}};
    model.lines = {{{{3, -45}, {7, -45}}}};
    return model;
}

struct ReadSvg {
    QString root, viewBox, title, description;
    bool sized = false;  // a width or height of its own
    QStringList texts;
    QString error;  // empty: parsed; markup from the model makes the reader fail
};

ReadSvg Read(const std::string& svg) {
    ReadSvg read;
    QXmlStreamReader reader(QByteArray::fromStdString(svg));
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const QString name = reader.name().toString();
        if (read.root.isEmpty()) {
            read.root = name;
            read.viewBox = reader.attributes().value(QStringLiteral("viewBox")).toString();
            read.sized = reader.attributes().hasAttribute(QStringLiteral("width")) ||
                         reader.attributes().hasAttribute(QStringLiteral("height"));
        } else if (name == QStringLiteral("title")) {
            read.title = reader.readElementText();
        } else if (name == QStringLiteral("desc")) {
            read.description = reader.readElementText();
        } else if (name == QStringLiteral("text")) {
            read.texts << reader.readElementText();
        }
    }
    if (reader.hasError()) read.error = reader.errorString();
    return read;
}

TEST(ChartSvg, AnElementThePageSizesWithEveryTextEscaped) {
    ChartSvg draw;
    const std::string svg = draw(HostileChart());
    ASSERT_TRUE(svg.starts_with("<svg")) << svg.substr(0, 200);  // no declaration, no DOCTYPE
    for (char c : svg) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_FALSE((byte < 0x20 && c != '\n' && c != '\r' && c != '\t') || byte == 0x7F)
            << "control character " << int(byte);
    }
    const ReadSvg read = Read(svg);
    ASSERT_EQ(read.error, QString()) << read.error.toStdString();
    EXPECT_EQ(read.root, QStringLiteral("svg"));
    EXPECT_EQ(read.viewBox, QStringLiteral("0 0 960 600"));
    EXPECT_FALSE(read.sized);
    const QChar replaced(QChar::ReplacementCharacter);
    EXPECT_EQ(read.title, QStringLiteral("ACP </title><script>alert(1)</script> \"q\" ") +
                              replaced + QStringLiteral(" FAIL"));
    EXPECT_TRUE(read.description.startsWith(QStringLiteral("acp (ACP <Measurement>...) / ")))
        << read.description.toStdString();
    EXPECT_TRUE(read.description.contains(QStringLiteral("line") + replaced + "break"));
    EXPECT_TRUE(read.texts.contains(QStringLiteral("carrier <b>&amp;</b>")))
        << read.texts.join(" | ").toStdString();
    EXPECT_TRUE(read.texts.contains(QStringLiteral("Offset </text> (MHz)")));
}

}  // namespace
}  // namespace kelvane
