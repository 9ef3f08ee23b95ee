#pragma once

#include <QString>

#include "results/Verdict.h"

namespace kelvane {

// How the window shows a verdict, the same wherever it stands (its mark under a button, the
// status line): in words, and in a colour that differs in lightness as well as in hue and a weight
// of its own (INCOMPLETE slanted too), so that a glance tells the verdicts apart and so does a
// grey print. The styles are style sheet declarations, for the widget to put in its rule.
class VerdictLook {
public:
    // "PASS", "FAIL", "INCOMPLETE"; "no limit" for a measurement that has none.
    static QString Words(Verdict verdict);
    // A mark of its own: the words' colour on its background, its border, the words' weight;
    // a mark without a limit is a quiet grey.
    static QString MarkStyle(Verdict verdict);
    // Words on the window's background: their colour and weight; empty without a limit, so that
    // the widget keeps its own.
    static QString TextStyle(Verdict verdict);
};

}  // namespace kelvane
