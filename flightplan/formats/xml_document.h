#pragma once
// An XML flight plan document parsed with pugixml, with the line numbers its readers name in
// their errors. The reader checks the root element itself; a document that does not parse (cut
// short, mismatched tags) is refused here with the line where parsing stopped.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "platform/result.h"

namespace planner {

class XmlDocument {
public:
    static plat::Result<std::shared_ptr<XmlDocument>> parse(std::string_view text, std::string_view file);

    pugi::xml_node root() const { return doc_.document_element(); }
    std::size_t line(pugi::xml_node n) const;
    plat::Error error(pugi::xml_node at, const std::string& what) const;
    // The element's text with blanks trimmed; nothing when the element is absent.
    static std::optional<std::string> text(pugi::xml_node parent, const char* child);
    // The element's text as a finite number; nothing when absent, an error when it is not a number.
    plat::Result<std::optional<double>> number(pugi::xml_node parent, const char* child) const;

private:
    std::string text_;
    std::string file_;
    pugi::xml_document doc_;
};

}  // namespace planner
