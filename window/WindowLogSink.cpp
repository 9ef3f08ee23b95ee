#include "window/WindowLogSink.h"

#include <QString>

#include "window/Form1.h"

namespace kelvane {

// The bus speaks 8-bit text, one character per byte.
void WindowLogSink::AppendResult(const std::string& text) {
    window_.AppendResult(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace kelvane
