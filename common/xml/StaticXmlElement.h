#pragma once

#include "common/xml/XmlElement.h"

namespace Common::Xml {

// The element kept in memory: it owns its children.
class StaticXmlElement : public XmlElement {
 public:
  StaticXmlElement() = default;
  StaticXmlElement(const std::string& name, const std::string& text) : text_(text), name_(name) {}
  StaticXmlElement(const StaticXmlElement&) = delete;
  StaticXmlElement& operator=(const StaticXmlElement&) = delete;
  ~StaticXmlElement() override;

  Children& GetChildren() override { return children_; }
  const Children& GetChildren() const override { return children_; }
  Attributes& GetAttributes() override { return attributes_; }
  const Attributes& GetAttributes() const override { return attributes_; }
  std::string& GetName() override { return name_; }
  const std::string& GetName() const override { return name_; }
  std::string& GetText() override { return text_; }
  const std::string& GetText() const override { return text_; }
  int GetType() const override { return type_; }
  void SetType(int type) { type_ = type; }
  XmlElement* AddChild(const std::string& name, const std::string& text) override;
  void Release() override { delete this; }

 private:
  Children children_;
  Attributes attributes_;
  std::string text_;
  std::string name_ = "<Empty>";
  int type_ = EmptyElement;
};

}  // namespace Common::Xml
