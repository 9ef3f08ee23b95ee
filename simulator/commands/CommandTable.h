#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/commands/CommandContext.h"
#include "simulator/commands/CommandParser.h"

namespace kelvane {

// The analyzer's vocabulary: each header with its argument and what it does.
class CommandTable {
public:
    using Handler = std::function<void(const Command&, CommandContext&)>;

    void Add(std::string header, ArgumentKind kind, Handler handler) {
        entries_[std::move(header)] = Entry{kind, std::move(handler)};
    }
    std::optional<ArgumentKind> KindOf(std::string_view header) const {
        const auto it = entries_.find(header);
        if (it == entries_.end()) return std::nullopt;
        return it->second.kind;
    }
    const Handler* HandlerOf(std::string_view header) const {
        const auto it = entries_.find(header);
        return it == entries_.end() ? nullptr : &it->second.handler;
    }

private:
    struct Entry {
        ArgumentKind kind = ArgumentKind::None;
        Handler handler;
    };
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace kelvane
