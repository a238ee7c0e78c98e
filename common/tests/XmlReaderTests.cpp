#include "common/logging/ILogDevice.h"
#include "common/logging/Logger.h"
#include "common/xml/XmlParser.h"

#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace Common::Xml;
using XmlTesting::describeRoot;
using XmlTesting::parse;

namespace {

struct Case {
  const char* name;
  std::string data;
  std::string expected;
};

void expectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, describeRoot(*parse(c.data)));
  }
}

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

class RecordingDevice : public Common::Logging::ILogDevice {
 public:
  ~RecordingDevice() override { DetachFromAllLoggers(); }
  void Write(int level, const std::string& text) override {
    lines.push_back(std::to_string(level) + " " + text);
  }
  std::vector<std::string> lines;
};

}  // namespace

TEST(XmlReader, ReadsElementsAttributesAndTexts) {
  expectCases({
      {"written form", Declaration + "<C>\r\n  <D A=\"1\" B=\"two\"/>\r\n  <T>text</T>\r\n</C>\r\n",
       "C(D[A=1;B=two;],T'text',)"},
      {"no declaration", "<R/>", "R"},
      {"space before the slash", "<R />", "R"},
      {"element with text only", "<R>  a b  </R>", "R'  a b  '"},
      {"empty text", "<R></R>", "R"},
      {"declaration and processing instructions skipped", "<?xml version=\"1.0\"?><?pi x?><R/>", "R"},
      {"spaces around equals", "<R a  =  \"1\"   b=\"2\"/>", "R[a=1;b=2;]"},
      {"repeated attribute keeps the last", "<R a=\"1\" a=\"2\"/>", "R[a=2;]"},
      {"empty value", "<R a=\"\"/>", "R[a=;]"},
      {"single quotes not recognised", "<R a='1'/>", "R"},
      {"tab before a name joins the name", "<R a=\"1\"\tb=\"2\"/>", "R[\tb=2;a=1;]"},
      {"entities in values and texts", "<R v=\"&amp;&lt;&gt;&quot;&apos;&unknown;&\">&lt;x&gt;</R>",
       "R[v=&<>\"'&unknown;&;]'<x>'"},
      {"line ends of any kind", "<R>\n<A/>\r<B/></R>", "R(A,B,)"},
  });
}

TEST(XmlReader, CommentsAndCdataAreNeverTakenForTags) {
  expectCases({
      {"comment between elements", "<R><!-- <X/> --><A/><!--x--></R>", "R(A,)"},
      {"comment before the root", "<!-- <X> --><R/>", "R"},
      {"comment inside a text stays in it", "<R>a<!-- <b> -->c</R>", "R'a<!-- <b> -->c'"},
      {"CDATA inside a text stays in it", "<R><![CDATA[<x/>]]></R>", "R'<![CDATA[<x/>]]>'"},
      {"CDATA between children", "<R><A/><![CDATA[</R>]]><B/></R>", "R(A,B,)"},
      {"entities inside a comment stay as they stand", "<R>&lt;<!-- &amp; -->&gt;</R>",
       "R'<<!-- &amp; -->>'"},
      {"entities inside CDATA stay as they stand", "<R><![CDATA[&lt;&quot;]]>&amp;</R>",
       "R'<![CDATA[&lt;&quot;]]>&'"},
      {"DOCTYPE with internal subset", "<!DOCTYPE R [ <!ELEMENT R ANY> ]><R/>", "R"},
      {"text around children is dropped", "<R>before<A/>between<B>b</B>after</R>", "R(A,B'b',)"},
      {"comment after the root", "<R/><!-- end -->", "R"},
      {"CDATA after the root", "<R/><![CDATA[x]]>", "R"},
  });
}

TEST(XmlReader, MalformedDataGivesNoRootOrKeepsTheRootBeforeIt) {
  expectCases({
      {"empty", "", "none"},
      {"text only", "just text", "none"},
      {"mismatched closing tag", "<R><A></B></R>", "none"},
      {"unclosed root", "<R><A/>", "none"},
      {"unclosed child", "<R><A></R>", "none"},
      {"unclosed root without children", "<R>text", "none"},
      {"closing tag first", "</R><R/>", "none"},
      {"lone less-than at the end", "<R/><", "R"},
      {"lone less-than inside", "<R><</R>", "none"},
      {"end of data inside a tag", "<R a=\"1\"", "none"},
      {"end of data inside an attribute", "<R a=\"1", "none"},
      {"DOCTYPE without internal subset", "<!DOCTYPE R><R/>", "none"},
      {"unfinished comment after the root", "<R/><!-- end", "R"},
      {"unfinished CDATA after the root", "<R/><![CDATA[x", "R"},
      {"unfinished comment inside the root", "<R><!-- x</R>", "none"},
      {"unfinished comment before the root", "<!-- <R/>", "none"},
      {"empty element name", "<></>", "none"},
      {"empty element name with attributes", "< a=\"1\"/>", "none"},
      {"greater-than inside a value", "<R a=\">\"/>", "none"},
      {"declaration not finished", "<?xml <R/>", "none"},
  });
}

TEST(XmlReader, ASecondRootIsLoggedAndDropped) {
  RecordingDevice device;
  Common::Logging::theLogger.AddDevice(&device, Common::Logging::Logger::AllLevels);
  const auto document = parse("<First a=\"1\"/>\r\n<Second/>\r\n<Third/>");
  Common::Logging::theLogger.RemoveDevice(&device);
  EXPECT_EQ("First[a=1;]", describeRoot(*document));
  const std::string line = "4 XmlParser: More than one parent nodes found!\n";
  EXPECT_EQ(std::vector<std::string>({line, line}), device.lines);
}

TEST(XmlReader, NestingIsCappedWithoutExhaustingTheStack) {
  const auto nested = [](int depth) {
    std::string data;
    for (int i = 0; i < depth; ++i) data += "<a>";
    for (int i = 0; i < depth; ++i) data += "</a>";
    return data;
  };
  EXPECT_NE("none", describeRoot(*parse(nested(XmlParser::MaxDepth + 1))));
  EXPECT_EQ("none", describeRoot(*parse(nested(XmlParser::MaxDepth + 2))));
  EXPECT_EQ("none", describeRoot(*parse(nested(200000))));
}

TEST(XmlReader, LoadReplacesTheOldRoot) {
  auto document = parse("<A/>");
  std::istringstream empty("");
  EXPECT_FALSE(document->Load(empty));
  EXPECT_EQ(nullptr, document->GetRoot());
  std::istringstream other("<B/>");
  EXPECT_TRUE(document->Load(other));
  EXPECT_EQ("B", describeRoot(*document));
}

TEST(XmlReader, SurvivesNoiseAndManyUnfinishedBlocks) {
  std::mt19937 random(20261210);
  const std::string alphabet = "<>/!?-[]\"= aZ\r\n&;";
  for (int round = 0; round < 300; ++round) {
    std::string data(random() % 2000, '\0');
    for (char& c : data) {
      c = round % 2 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
    }
    parse(data);  // must neither crash nor hang
  }
  std::string blocks;
  for (int i = 0; i < 20000; ++i) blocks += "<!--<![CDATA[<!DOCTYPE";
  EXPECT_EQ("none", describeRoot(*parse(blocks)));
  EXPECT_EQ("R", describeRoot(*parse("<R/>" + blocks)));
}
