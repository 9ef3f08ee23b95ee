#include "window/log/WindowLogSink.h"

namespace kelvane {

// The bus speaks 8-bit text, one character per byte.
void WindowLogSink::AppendResult(const std::string& text) {
    deliver_(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace kelvane
