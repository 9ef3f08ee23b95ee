#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reading a report's HTML back in tests: the rows of its tables as the reader sees their cells,
// tags left out and character references read.
namespace kelvane::testing {

// The text of a piece of HTML: tags left out, the references the report writes read back (a
// no-break space as a space).
inline std::string HtmlTextOf(const std::string& html) {
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<') inTag = true;
        if (!inTag) text += c;
        if (c == '>') inTag = false;
    }
    const std::pair<std::string_view, const char*> references[] = {
        {"&lt;", "<"},  {"&gt;", ">"},   {"&quot;", "\""},
        {"&#39;", "'"}, {"&nbsp;", " "}, {"&amp;", "&"}};
    for (const auto& [reference, character] : references)
        for (auto at = text.find(reference); at != text.npos; at = text.find(reference, at + 1))
            text.replace(at, reference.size(), character);
    return text;
}

// Every <tr> of the page's table bodies, from `from` on, as its cells' texts.
inline std::vector<std::vector<std::string>> TableRows(const std::string& html,
                                                       std::size_t from = 0) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t at = html.find("<tbody>", from); at != std::string::npos;
         at = html.find("<tbody>", at + 1)) {
        const std::size_t end = html.find("</tbody>", at);
        for (std::size_t row = html.find("<tr", at); row < end; row = html.find("<tr", row + 1)) {
            std::vector<std::string> cells;
            const std::size_t rowEnd = html.find("</tr>", row);
            for (std::size_t cell = html.find("<td", row); cell < rowEnd;
                 cell = html.find("<td", cell + 1)) {
                const std::size_t open = html.find('>', cell) + 1;
                cells.push_back(HtmlTextOf(html.substr(open, html.find("</td>", open) - open)));
            }
            rows.push_back(cells);
        }
    }
    return rows;
}

// The HTML of the report's section of measurement `number` (1 for the first).
inline std::string SectionOf(const std::string& html, int number) {
    const std::string id = "<section class=\"measurement\" id=\"m" + std::to_string(number) + "\"";
    const std::size_t begin = html.find(id);
    if (begin == std::string::npos) return {};
    return html.substr(begin, html.find("</section>", begin) - begin);
}

}  // namespace kelvane::testing
