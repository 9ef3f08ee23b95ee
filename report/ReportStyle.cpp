#include "report/ReportStyle.h"

namespace kelvane {

std::string_view ReportStyleSheet() {
    return R"css(
html { color-scheme: light; -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font-family: "DejaVu Sans", "Segoe UI", Arial, Helvetica, sans-serif; font-size: 10.5pt;
  line-height: 1.35; color: #111; background: #fff; max-width: 62em; margin: 1.5em auto;
  padding: 0 1em; }
h1 { font-size: 19pt; margin: 0 0 .4em; }
h2 { font-size: 13pt; margin: 0 0 .4em; padding-bottom: .15em; border-bottom: 1px solid #888; }
h3 { font-size: 11pt; margin: .8em 0 .3em; }
.kicker { margin: 0; color: #444; text-transform: uppercase; letter-spacing: .08em;
  font-size: 9pt; }
code, pre { font-family: "DejaVu Sans Mono", Consolas, "Courier New", monospace; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: .1em 1.2em;
  margin: .4em 0 1.2em; }
dl.facts dt { font-weight: bold; }
dl.facts dd { margin: 0; overflow-wrap: anywhere; }
section { margin: 1.4em 0; }
section.measurement { break-inside: avoid; page-break-inside: avoid; }
p.facts { margin: .2em 0 .5em; color: #333; }
.number { font-variant-numeric: tabular-nums; }
h2 .number { color: #555; }
.name { color: #555; font-weight: normal; font-size: .9em; }
table { border-collapse: collapse; width: 100%; margin: .3em 0 .8em; font-size: 9.5pt; }
th, td { border: 1px solid #aaa; padding: .15em .4em; text-align: left; vertical-align: top; }
th { background: #e8e8e8; }
td.number { text-align: right; white-space: nowrap; }
tr.fail td { background: #fdecee; }
.verdict { display: inline-block; padding: 0 .35em; border: 1px solid; border-radius: 3px;
  white-space: nowrap; font-size: .95em; }
.verdict .symbol { font-weight: bold; }
.verdict.pass { color: #0b5d1e; border-color: #0b5d1e; background: #e3f3e6; }
.verdict.fail { color: #a3001b; border: 2px solid #a3001b; background: #fde3e7;
  font-weight: bold; }
.verdict.incomplete { color: #7a4100; border: 1px dashed #7a4100; background: #fff1d6;
  font-style: italic; }
.verdict.none { color: #444; border-color: #bbb; }
.note { color: #444; font-size: .9em; }
.problem { margin: .3em 0; padding: .2em .5em; border-left: 4px solid #a3001b;
  background: #fafafa; }
.problem code, ul.problems code { overflow-wrap: anywhere; }
figure.chart { margin: .5em 0; }
figure.chart svg { display: block; width: 100%; max-width: 46em; height: auto; }
pre.log { font-size: 8.5pt; line-height: 1.25; margin: .4em 0; padding: .4em .6em;
  background: #f5f5f5; border: 1px solid #ccc; white-space: pre-wrap; overflow-wrap: anywhere; }
footer { margin-top: 2em; color: #555; font-size: 8.5pt; border-top: 1px solid #aaa; }
@page { size: A4; margin: 14mm 12mm 14mm 12mm; }
@media print {
  body { max-width: none; margin: 0; padding: 0; font-size: 9.5pt; }
  a { color: inherit; text-decoration: none; }
  h2, h3 { break-after: avoid; page-break-after: avoid; }
  header, section.summary table { break-inside: avoid; }
  figure.chart svg { max-width: 150mm; }
  pre.log { font-size: 7.5pt; }
}
)css";
}

}  // namespace kelvane
