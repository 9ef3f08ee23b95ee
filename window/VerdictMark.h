#pragma once

#include <QLabel>
#include <QString>

#include "results/Verdict.h"

namespace kelvane {

// The last verdict of one measurement, under its button until that measurement runs again:
// "PASS", "FAIL" or "INCOMPLETE" in words, weight and colour, so that a glance tells them apart
// and so does a grey print (FAIL white on dark and bold, INCOMPLETE bold on a middle tone, PASS
// on a light one); "no limit" for a measurement that has none. The tool tip has the whole
// verdict, e.g. "FAIL, worst margin -1.80 dB".
class VerdictMark : public QLabel {
    Q_OBJECT

public:
    explicit VerdictMark(QWidget* parent = nullptr);

    // detail: the verdict as the status line gives it (VerdictText), for the tool tip.
    void ShowVerdict(Verdict verdict, const QString& detail);
    // Nothing shown: the measurement runs again, or has not run yet.
    void Clear();
};

}  // namespace kelvane
