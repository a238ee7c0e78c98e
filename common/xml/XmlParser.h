#pragma once

#include "common/xml/StaticXmlElement.h"

#include <memory>
#include <string>

namespace Common::Xml {

// Reads a whole document from memory. Comments, CDATA sections and DOCTYPE blocks are skipped
// between elements and kept, as they stand, in the text of an element without children; text
// between child elements is dropped; attributes are double-quoted. The reader never reads outside
// the data, whatever it holds.
class XmlParser {
 public:
  // Elements nested deeper than this make the document unreadable.
  static constexpr int MaxDepth = 256;

  // The root element, or null when the data holds none that is complete and well formed. A
  // second top-level element is logged and dropped; declarations before the root are skipped.
  static std::unique_ptr<StaticXmlElement> ParseDocument(const std::string& data);
};

}  // namespace Common::Xml
