#pragma once

#include "common/xml/StaticXmlDocument.h"

#include <memory>
#include <sstream>
#include <string>

namespace XmlTesting {

inline std::unique_ptr<Common::Xml::StaticXmlDocument> parse(const std::string& data) {
  auto document = std::make_unique<Common::Xml::StaticXmlDocument>();
  std::istringstream in(data, std::ios::binary);
  document->Load(in);
  return document;
}

// A compact picture of a tree: name, [attributes], 'text' and (children).
inline std::string describe(const Common::Xml::XmlElement& element) {
  std::string picture = element.GetName();
  if (!element.GetAttributes().empty()) {
    picture += "[";
    for (const auto& [name, value] : element.GetAttributes()) picture += name + "=" + value + ";";
    picture += "]";
  }
  if (!element.GetText().empty()) picture += "'" + element.GetText() + "'";
  if (!element.GetChildren().empty()) {
    picture += "(";
    for (const auto* child : element.GetChildren()) picture += describe(*child) + ",";
    picture += ")";
  }
  return picture;
}

// The picture of the document's root, or "none".
inline std::string describeRoot(Common::Xml::XmlDocument& document) {
  const Common::Xml::XmlElement* root = document.GetRoot();
  return root ? describe(*root) : "none";
}

}  // namespace XmlTesting
