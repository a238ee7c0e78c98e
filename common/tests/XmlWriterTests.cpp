#include "common/xml/StaticXmlDocument.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Common::Xml;

namespace {

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

std::string written(StaticXmlDocument& document) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(document.Save(out));
  return out.str();
}

}  // namespace

TEST(XmlWriter, EmptyRootIsOneLineAfterTheDeclaration) {
  StaticXmlDocument document;
  document.CreateRoot("Configuration");
  EXPECT_EQ(Declaration + "<Configuration/>\r\n", written(document));
}

TEST(XmlWriter, DocumentWithoutRootIsTheDeclarationAlone) {
  StaticXmlDocument document;
  EXPECT_EQ(Declaration, written(document));
}

TEST(XmlWriter, WritesOneElementPerLineWithSortedAttributesAndIndent) {
  StaticXmlDocument document;
  XmlElement* root = document.CreateRoot("Configuration");
  XmlElement* drivers = root->AddChild("Drivers", "");
  XmlElement* driver = drivers->AddChild("Driver", "");
  driver->GetAttributes()["SampleRate"] = "44100";
  driver->GetAttributes()["Name"] = "ASIO4ALL v2";
  driver->GetAttributes()["BufferSize"] = "512";
  drivers->AddChild("Note", "plain text");
  XmlElement* parent = root->AddChild("Parent", "text of a parent is not written");
  parent->AddChild("Child", "");
  EXPECT_EQ(Declaration +
                "<Configuration>\r\n"
                "  <Drivers>\r\n"
                "    <Driver BufferSize=\"512\" Name=\"ASIO4ALL v2\" SampleRate=\"44100\"/>\r\n"
                "    <Note>plain text</Note>\r\n"
                "  </Drivers>\r\n"
                "  <Parent>\r\n"
                "    <Child/>\r\n"
                "  </Parent>\r\n"
                "</Configuration>\r\n",
            written(document));
}

TEST(XmlWriter, EscapesMarkupInValuesAndTexts) {
  StaticXmlDocument document;
  XmlElement* root = document.CreateRoot("R");
  root->GetAttributes()["Name"] = "Device \"A\" <2> & 'B'";
  root->AddChild("T", "a<b>&\"c\"");
  EXPECT_EQ(Declaration +
                "<R Name=\"Device &quot;A&quot; &lt;2&gt; &amp; 'B'\">\r\n"
                "  <T>a&lt;b&gt;&amp;&quot;c&quot;</T>\r\n"
                "</R>\r\n",
            written(document));
}

TEST(XmlWriter, ReportsAStreamThatFails) {
  StaticXmlDocument document;
  document.CreateRoot("R");
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  EXPECT_FALSE(document.Save(out));
}

TEST(XmlElement, NewElementsAreEmptyAndReleaseTheirChildren) {
  StaticXmlElement element;
  EXPECT_EQ("<Empty>", element.GetName());
  EXPECT_EQ(XmlElement::EmptyElement, element.GetType());
  XmlElement* child = element.AddChild("A", "t");
  EXPECT_EQ("A", child->GetName());
  EXPECT_EQ("t", child->GetText());
  EXPECT_EQ(XmlElement::EmptyElement, child->GetType());
  ASSERT_EQ(1u, element.GetChildren().size());
  EXPECT_EQ(child, element.GetChildren()[0]);
}
