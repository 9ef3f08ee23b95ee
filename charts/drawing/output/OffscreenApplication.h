#pragma once

#include <QGuiApplication>
#include <array>
#include <memory>
#include <string>

namespace kelvane {

// Drawing text needs a QGuiApplication for its fonts. Where the program has none (the batch
// program), MakeSure() makes one on Qt's offscreen platform, so that no display is needed, and
// keeps it for this object's life; where it has one (the window), it does nothing. Use it on the
// program's main thread, and keep no other QCoreApplication beside it.
class OffscreenApplication {
public:
    OffscreenApplication();
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

    void MakeSure();

private:
    // The application's arguments, which must outlive it: "kelvane -platform offscreen".
    std::array<std::string, 3> arguments_{"kelvane", "-platform", "offscreen"};
    std::array<char*, 4> argv_{};
    int argc_ = 3;
    std::unique_ptr<QGuiApplication> application_;
};

}  // namespace kelvane
