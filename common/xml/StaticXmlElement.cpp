#include "common/xml/StaticXmlElement.h"

#include <memory>

namespace Common::Xml {

StaticXmlElement::~StaticXmlElement() {
  for (auto child = children_.rbegin(); child != children_.rend(); ++child) (*child)->Release();
}

XmlElement* StaticXmlElement::AddChild(const std::string& name, const std::string& text) {
  auto child = std::make_unique<StaticXmlElement>(name, text);
  children_.push_back(child.get());
  return child.release();
}

}  // namespace Common::Xml
