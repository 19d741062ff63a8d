#include "flightplan/formats/xml_document.h"

#include <cmath>
#include <cstdlib>

#include "flightplan/formats/flight_plan.h"

namespace planner {

plat::Result<std::shared_ptr<XmlDocument>> XmlDocument::parse(std::string_view text, std::string_view file) {
    auto d = std::make_shared<XmlDocument>();
    d->text_ = std::string(text);
    d->file_ = std::string(file);
    const pugi::xml_parse_result r =
        d->doc_.load_buffer(d->text_.data(), d->text_.size(), pugi::parse_default, pugi::encoding_auto);
    if (!r) {
        const auto offset = r.offset < 0 ? 0 : static_cast<std::size_t>(r.offset);
        return file_error(file, line_of(text, offset), std::string("not well-formed XML: ") + r.description());
    }
    if (!d->root()) return file_error(file, 0, "no XML element");
    return d;
}

std::size_t XmlDocument::line(pugi::xml_node n) const {
    const std::ptrdiff_t offset = n.offset_debug();
    return offset < 0 ? 0 : line_of(text_, static_cast<std::size_t>(offset));
}

plat::Error XmlDocument::error(pugi::xml_node at, const std::string& what) const {
    return file_error(file_, line(at), what);
}

std::optional<std::string> XmlDocument::text(pugi::xml_node parent, const char* child) {
    const pugi::xml_node n = parent.child(child);
    if (!n) return std::nullopt;
    std::string s = n.text().get();
    const std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return std::string();
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

plat::Result<std::optional<double>> XmlDocument::number(pugi::xml_node parent, const char* child) const {
    const auto t = text(parent, child);
    if (!t) return std::optional<double>();
    char* end = nullptr;
    const double v = std::strtod(t->c_str(), &end);
    if (t->empty() || *end != '\0' || !std::isfinite(v))
        return error(parent.child(child),
                     std::string("<") + child + "> holds '" + t->substr(0, 40) + "', not a number");
    return std::optional<double>(v);
}

}  // namespace planner
