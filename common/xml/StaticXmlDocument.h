#pragma once

#include "common/xml/StaticXmlElement.h"
#include "common/xml/XmlDocument.h"

namespace Common::Xml {

// The document kept in memory: it owns its root.
class StaticXmlDocument : public XmlDocument {
 public:
  StaticXmlDocument() = default;
  StaticXmlDocument(const StaticXmlDocument&) = delete;
  StaticXmlDocument& operator=(const StaticXmlDocument&) = delete;
  ~StaticXmlDocument() override;

  using XmlDocument::Load;
  using XmlDocument::Save;
  // Replaces the root by the one read from the whole stream.
  bool Load(std::istream& stream) override;
  // Writes the declaration line and the root.
  bool Save(std::ostream& stream) override;
  StaticXmlElement* GetRoot() override { return root_; }
  StaticXmlElement* CreateRoot(const std::string& name) override;
  void Release() override { delete this; }

 private:
  void ReleaseRoot();

  StaticXmlElement* root_ = nullptr;
};

}  // namespace Common::Xml
