#include "results/Verdict.h"

namespace kelvane {

std::string_view VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return "pass";
    case Verdict::Fail:
        return "fail";
    case Verdict::None:
        return "none";
    case Verdict::Incomplete:
        return "incomplete";
    }
    return "none";
}

}  // namespace kelvane
