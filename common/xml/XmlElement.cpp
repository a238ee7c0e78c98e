#include "common/xml/XmlElement.h"

#include "common/xml/XmlEscape.h"

#include <algorithm>

namespace Common::Xml {

void XmlElement::Write(std::ostream& stream) const {
  Write(stream, 0);
}

void XmlElement::Write(std::ostream& stream, int depth) const {
  const std::string indent(2 * static_cast<std::size_t>(std::max(depth, 0)), ' ');
  stream << indent << '<' << GetName();
  for (const auto& [name, value] : GetAttributes()) stream << ' ' << name << "=\"" << Escape(value) << '"';
  const Children& children = GetChildren();
  if (children.empty()) {
    if (GetText().empty()) {
      stream << "/>\r\n";
    } else {
      stream << '>' << Escape(GetText()) << "</" << GetName() << ">\r\n";
    }
    return;
  }
  stream << ">\r\n";
  for (const XmlElement* child : children) child->Write(stream, depth + 1);
  stream << indent << "</" << GetName() << ">\r\n";
}

}  // namespace Common::Xml
