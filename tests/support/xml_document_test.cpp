#include "support/stream_error.h"
#include "support/xml_document.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/support/xml_file_test.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

const std::string DefaultDeclaration = "<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n";

TmoxXMLNode2& AddChild(TmoxXMLNode2& parent, const std::string& name, const std::string& text) {
    auto node = std::make_unique<TmoxXMLNode2>();
    node->SetName(name);
    node->SetText(text);
    return parent.AddNode(std::move(node));
}

// A document parsed from source bytes, as LoadXML would parse a file's content.
class XmlReaderTest : public ::testing::Test {
protected:
    void Parse(const std::string& source) {
        FDocument.SetSourceText(source);
        FDocument.ParseXML();
    }
    TmoxXMLParser2 FDocument;
};

// ---- Writer ----

TEST(XmlWriter, SettingsDocumentHasItsFixedByteLayout) {
    TmoxXMLParser2 document;
    document.SetName("root");
    auto config = std::make_unique<TmoxXMLNode2>();
    config->SetName("Config");
    AddChild(*config, "DBName", "srv:/data/grav.fdb");
    AddChild(*config, "SqlSelect", "select * from t where a > 1 & b < 2");
    AddChild(*config, "SqlAutoExt", "");
    document.AddNode(std::move(config));

    EXPECT_EQ(document.XMLText(), DefaultDeclaration +
                                      "<root>\r\n"
                                      "  <Config>\r\n"
                                      "    <DBName>srv:/data/grav.fdb</DBName>\r\n"
                                      "    <SqlSelect><![CDATA[select * from t where a > 1 & "
                                      "b < 2]]></SqlSelect>\r\n"
                                      "    <SqlAutoExt/>\r\n"
                                      "  </Config>\r\n"
                                      "</root>");
}

TEST(XmlWriter, MultiLineTextSpansLinesAndParentTextPrecedesChildren) {
    TmoxXMLParser2 document;
    document.SetName("root");
    document.SetText("head");
    AddChild(document, "SqlUpdate", "update t\r\n  set a = 1\r\nwhere b = 2");
    TmoxXMLNode2& cdataParent = AddChild(document, "P", "x<y");
    AddChild(cdataParent, "C", "1");

    EXPECT_EQ(document.XMLText(), DefaultDeclaration + "<root>head\r\n"
                                                       "  <SqlUpdate>update t\r\n"
                                                       "  set a = 1\r\n"
                                                       "where b = 2</SqlUpdate>\r\n"
                                                       "  <P><![CDATA[x<y]]>\r\n"
                                                       "    <C>1</C>\r\n"
                                                       "  </P>\r\n"
                                                       "</root>");
}

TEST(XmlWriter, FreshDocumentWithConfigLookedUp) {
    TmoxXMLParser2 document;
    document.SetName("root");
    document.LoadXML("/nonexistent/gravlink.ini");
    TmoxXMLNode2& config = document.GetChildByName("Config");

    EXPECT_EQ(&config, &document.GetChildByName("Config"));
    EXPECT_EQ(document.XMLText(), DefaultDeclaration + "<root>\r\n  <Config/>\r\n</root>");
}

TEST(XmlWriter, TextLargerThanGrowthStepIsWrittenWhole) {
    TmoxXMLParser2 document;
    document.SetName("r");
    const std::string big(200000, 'z');
    AddChild(document, "a", big);
    AddChild(document, "b", big);

    EXPECT_EQ(document.XMLText(),
              DefaultDeclaration + "<r>\r\n  <a>" + big + "</a>\r\n  <b>" + big + "</b>\r\n</r>");
}

struct AttributeCase {
    std::string value;
    std::string written;
};

void PrintTo(const AttributeCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.value);
}

class XmlWriterAttribute : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(XmlWriterAttribute, ValueQuotedByWhatItHolds) {
    TmoxXMLParser2 document;
    document.SetName("r");
    document.SetAttribute("n", GetParam().value);
    EXPECT_EQ(document.XMLText(), DefaultDeclaration + "<r" + GetParam().written + "/>");
}

INSTANTIATE_TEST_SUITE_P(Quoting, XmlWriterAttribute,
                         ::testing::Values(AttributeCase{"plain", " n='plain'"},
                                           AttributeCase{"", " n=''"},
                                           AttributeCase{"it's", " n=\"it's\""},
                                           AttributeCase{"say \"x\"", " n='say \"x\"'"},
                                           AttributeCase{"a<b&c", " n='a<b&c'"}));

TEST(XmlWriter, AttributeSetReplacesInPlaceAndDeclarationIsWrittenBack) {
    TmoxXMLParser2 document;
    document.SetName("r");
    document.SetAttribute("a", "1");
    document.SetAttribute("b", "2");
    document.SetAttribute("a", "3");
    document.Declaration().SetAttribute("encoding", "windows-1251");

    EXPECT_EQ(document.Attribute("a"), "3");
    EXPECT_EQ(document.Attribute("missing"), "");
    EXPECT_EQ(document.XMLText(),
              "<?xml version='1.0' encoding='windows-1251' ?>\r\n<r a='3' b='2'/>");
}

// ---- Node model ----

TEST(XmlNode, FindChildByNameSearchesDepthFirstOnlyWhenDeep) {
    TmoxXMLNode2 root;
    TmoxXMLNode2& a = AddChild(root, "a", "");
    TmoxXMLNode2& nested = AddChild(a, "x", "nested");
    TmoxXMLNode2& direct = AddChild(root, "x", "direct");
    AddChild(root, "x", "second");

    EXPECT_EQ(root.FindChildByName("x", false), &direct);
    EXPECT_EQ(root.FindChildByName("x", true), &nested);
    EXPECT_EQ(root.FindChildByName("X", true), nullptr);
    EXPECT_EQ(nested.Parent(), &a);
    EXPECT_EQ(&root.GetChildByName("x"), &direct);
    EXPECT_EQ(root.Nodes().Count(), 3u);
}

TEST(XmlNode, CDataFlagFollowsEveryTextAssignment) {
    TmoxXMLNode2 node;
    EXPECT_FALSE(node.IsCData());
    node.SetText("a > b");
    EXPECT_TRUE(node.IsCData());
    node.SetText("a & b");
    EXPECT_FALSE(node.IsCData());
}

// ---- Reader ----

TEST_F(XmlReaderTest, CDataIsTrimmedAndFlaggedByItsContent) {
    Parse("<root>dropped<![CDATA[  select 1 where a < b\r\n  ]]>"
          "<plain><![CDATA[ no brackets ]]></plain></root>");

    ASSERT_EQ(FDocument.LastError(), "");
    EXPECT_EQ(FDocument.Text(), "select 1 where a < b");
    EXPECT_TRUE(FDocument.IsCData());
    ASSERT_EQ(FDocument.Nodes().Count(), 1u);
    EXPECT_EQ(FDocument.Nodes()[0].Text(), "no brackets");
    EXPECT_FALSE(FDocument.Nodes()[0].IsCData());
}

// "]]>" would end the section early: it is written across two sections, which
// read back as one text.
TEST_F(XmlReaderTest, TextHoldingTheEndOfACDataSectionReadsBackTheSame) {
    const std::string texts[] = {"select ']]>' from t", "]]>", "a]]>]]>b", "x]]]>y"};
    for (const std::string& text : texts) {
        TmoxXMLParser2 written;
        written.SetName("root");
        AddChild(written, "SqlSelect", text);
        const std::string bytes = written.XMLText();
        Parse(bytes);
        ASSERT_EQ(FDocument.LastError(), "") << bytes;
        ASSERT_EQ(FDocument.Nodes().Count(), 1u) << bytes;
        EXPECT_EQ(FDocument.Nodes()[0].Text(), text) << bytes;
    }
    TmoxXMLParser2 written;
    written.SetName("root");
    AddChild(written, "SqlSelect", "a]]>b");
    EXPECT_EQ(written.XMLText(), DefaultDeclaration +
                                     "<root>\r\n  <SqlSelect><![CDATA[a]]]]><![CDATA[>b]]>"
                                     "</SqlSelect>\r\n</root>");
}

TEST_F(XmlReaderTest, TextKeepsEntitiesAndInnerLineBreaks) {
    Parse("<root> \t\r\n \xC0 a &amp; b\r\n&lt;c&gt; \xFF\r\n\t</root>");

    ASSERT_EQ(FDocument.LastError(), "");
    // Windows-1251 letters are above 127 and never blanks.
    EXPECT_EQ(FDocument.Text(), "\xC0 a &amp; b\r\n&lt;c&gt; \xFF");
    EXPECT_FALSE(FDocument.IsCData());
}

TEST_F(XmlReaderTest, AttributesInBothQuotesLastRepeatWins) {
    Parse("<root  a='1'   b=\"it's\" c='say \"x\"'\ta='2' >t</root>");

    ASSERT_EQ(FDocument.LastError(), "");
    ASSERT_EQ(FDocument.Attributes().Count(), 3u);
    EXPECT_EQ(FDocument.Attributes()[0].Name, "a");
    EXPECT_EQ(FDocument.Attributes()[0].Value, "2");
    EXPECT_EQ(FDocument.Attribute("b"), "it's");
    EXPECT_EQ(FDocument.Attribute("c"), "say \"x\"");
    EXPECT_EQ(FDocument.Text(), "t");
}

// Read in time proportional to their number: this many took the better part of a
// minute when each one was looked up among all before it.
TEST_F(XmlReaderTest, AnElementWithVeryManyAttributesIsReadWhole) {
    constexpr int count = 200000;
    std::string source = "<root first='0'";
    for (int i = 1; i < count; ++i)
        source += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    source += " first='again'/>";
    Parse(source);
    ASSERT_EQ(FDocument.LastError(), "");
    ASSERT_EQ(FDocument.Attributes().Count(), static_cast<size_t>(count));
    EXPECT_EQ(FDocument.Attributes()[0].Name, "first");
    EXPECT_EQ(FDocument.Attributes()[0].Value, "again");
    EXPECT_EQ(FDocument.Attributes()[count - 1].Name, "a" + std::to_string(count - 1));
    EXPECT_EQ(FDocument.Attribute("a12345"), "12345");
}

TEST_F(XmlReaderTest, EmptyElementTagsWithAndWithoutSpaceReadAlike) {
    Parse("<root><DBName /><SqlSelect/><E a='1'/></root>");

    ASSERT_EQ(FDocument.LastError(), "");
    ASSERT_EQ(FDocument.Nodes().Count(), 3u);
    EXPECT_EQ(FDocument.Nodes()[0].Name(), "DBName");
    EXPECT_EQ(FDocument.Nodes()[1].Name(), "SqlSelect");
    EXPECT_EQ(FDocument.Nodes()[0].Text(), "");
    EXPECT_EQ(FDocument.Nodes()[2].Attribute("a"), "1");
}

TEST_F(XmlReaderTest, DocumentElementTakesTheNameInTheSource) {
    FDocument.SetName("root");
    Parse("<settings/><ignored>");

    EXPECT_EQ(FDocument.LastError(), "");
    EXPECT_EQ(FDocument.Name(), "settings");
    EXPECT_EQ(FDocument.Nodes().Count(), 0u);
}

TEST_F(XmlReaderTest, PrologOfDeclarationCommentsAndDocumentTypeIsSkipped) {
    Parse("<?xml version=\"1.1\" encoding='windows-1251'?>\r\n<!-- a <comment> -->\r\n"
          "<!DOCTYPE root>\r\n<!---->\r\n<root><a>1</a></root>");

    ASSERT_EQ(FDocument.LastError(), "");
    EXPECT_EQ(FDocument.Name(), "root");
    EXPECT_EQ(FDocument.GetChildByName("a").Text(), "1");
    EXPECT_EQ(FDocument.Declaration().Attribute("version"), "1.1");
    EXPECT_EQ(FDocument.XMLText().substr(0, 50),
              "<?xml version='1.1' encoding='windows-1251' ?>\r\n<r");
}

TEST_F(XmlReaderTest, MissingDeclarationLeavesDefaults) {
    Parse("<root/>");

    EXPECT_EQ(FDocument.LastError(), "");
    EXPECT_EQ(FDocument.Declaration().Attributes().Count(), 0u);
    EXPECT_EQ(FDocument.XMLText(), DefaultDeclaration + "<root/>");
}

struct PrologFailureCase {
    std::string source;
    std::string lastError;
};

void PrintTo(const PrologFailureCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.source);
}

class XmlReaderPrologFailure : public ::testing::TestWithParam<PrologFailureCase> {};

TEST_P(XmlReaderPrologFailure, EndsTheParseWithItsTextAlone) {
    TmoxXMLParser2 document;
    document.SetSourceText(GetParam().source);
    document.ParseXML();
    EXPECT_EQ(document.LastError(), GetParam().lastError);
    EXPECT_EQ(document.Name(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Unterminated, XmlReaderPrologFailure,
    ::testing::Values(
        PrologFailureCase{"<?xml version='1.0' <root/>", "Missing ?> in xml declaration."},
        PrologFailureCase{"<?xml?><!-- never closed <root/>", "Missing --> in xml comment."},
        PrologFailureCase{"<!DOCTYPE root", "Missing > in document type declaration."}));

struct DeclarationFailureCase {
    std::string declaration;
    std::string message;
};

void PrintTo(const DeclarationFailureCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.declaration);
}

class XmlReaderDeclarationFailure : public ::testing::TestWithParam<DeclarationFailureCase> {};

TEST_P(XmlReaderDeclarationFailure, ReachesTheCaller) {
    TmoxXMLParser2 document;
    document.SetSourceText(GetParam().declaration + "<root/>");
    try {
        document.ParseXML();
        FAIL() << "no failure raised";
    } catch (const EXMLParseError& failure) {
        EXPECT_EQ(failure.Message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MalformedAttributes, XmlReaderDeclarationFailure,
    ::testing::Values(DeclarationFailureCase{"<?xml version ?>",
                                             "missing = when parsing attributes"},
                      DeclarationFailureCase{"<?xml version=1.0 ?>",
                                             "missing value delimiter when parsing attributes"},
                      DeclarationFailureCase{"<?xml version='1.0 ?>",
                                             "Expected closing ' when parsing attributes"},
                      DeclarationFailureCase{"<?xml version=\"1.0' ?>",
                                             "Expected closing \" when parsing attributes"}));

TEST_F(XmlReaderTest, TextAfterAChildIsDroppedAndWrongClosingNamesAccepted) {
    Parse("<root>head<a>1</b>tail<c>2</wrong>more</x><!-- after the document, never read");

    ASSERT_EQ(FDocument.LastError(), "");
    EXPECT_EQ(FDocument.Text(), "head");
    ASSERT_EQ(FDocument.Nodes().Count(), 2u);
    EXPECT_EQ(FDocument.Nodes()[0].Name(), "a");
    EXPECT_EQ(FDocument.Nodes()[1].Name(), "c");
    EXPECT_EQ(FDocument.Nodes()[1].Text(), "2");
    EXPECT_EQ(FDocument.Nodes()[1].Parent(), &FDocument);
}

TEST_F(XmlReaderTest, UnterminatedElementKeepsWhatWasBuiltAndComposesLastError) {
    Parse("<root><Config><DBName>x</DBName><SqlSelect>select a from t where b = 1 and c = 2");

    EXPECT_EQ(FDocument.LastError(),
              "Expected < when parsing text near </DBName><SqlSelect>select a from t where b = 1 "
              "an\r\nError position=44\r\n" +
                  DefaultDeclaration +
                  "<root>\r\n  <Config>\r\n    <DBName>x</DBName>\r\n    <SqlSelect/>\r\n"
                  "  </Config>\r\n</root>");
    const TmoxXMLNode2& config = FDocument.GetChildByName("Config");
    ASSERT_EQ(config.Nodes().Count(), 2u);
    EXPECT_EQ(config.Nodes()[0].Text(), "x");
    EXPECT_EQ(config.Nodes()[1].Name(), "SqlSelect");
}

TEST_F(XmlReaderTest, NearTextStartsAtTheSourceBeginningForEarlyPositions) {
    Parse("<root><a>1</a><b");

    EXPECT_EQ(FDocument.LastError(), "> not found near <root><a>1</a><b\r\nError position=15\r\n" +
                                         DefaultDeclaration + "<root>\r\n  <a>1</a>\r\n</root>");
}

struct TreeFailureCase {
    std::string source;
    std::string message;
};

void PrintTo(const TreeFailureCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.source);
}

class XmlReaderTreeFailure : public ::testing::TestWithParam<TreeFailureCase> {};

TEST_P(XmlReaderTreeFailure, IsCaughtIntoLastError) {
    TmoxXMLParser2 document;
    document.SetSourceText(GetParam().source);
    ASSERT_NO_THROW(document.ParseXML());
    EXPECT_EQ(document.LastError().substr(0, GetParam().message.size() + 6),
              GetParam().message + " near ");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlReaderTreeFailure,
    ::testing::Values(
        TreeFailureCase{"<root><a>1</a>", "< not found"},
        TreeFailureCase{"<root><a", "> not found"},
        TreeFailureCase{"<root>", "Expected < when parsing text"},
        TreeFailureCase{"<root><![CDATA[a<b</root>", "Expected ]]> when parsing CDATA section"},
        TreeFailureCase{"<root><></root>", "Empty tag <>"},
        TreeFailureCase{"</root>", "Closing tag </root> without an open element"},
        TreeFailureCase{"<root><!-- note --></root>", "missing = when parsing attributes"},
        TreeFailureCase{"<root a/>", "missing = when parsing attributes"},
        TreeFailureCase{"<root a=1/>", "missing value delimiter when parsing attributes"},
        TreeFailureCase{"<root a= '1'/>", "missing value delimiter when parsing attributes"},
        TreeFailureCase{"<root a='1/>", "Expected closing ' when parsing attributes"},
        TreeFailureCase{"<root a=\"1/>", "Expected closing \" when parsing attributes"}));

TEST_F(XmlReaderTest, DamagedFileNestedWithoutBoundStopsAtTheDepthLimit) {
    // Unbounded, the failure text would indent a hundred thousand levels and the tree
    // would be destroyed a hundred thousand calls deep.
    std::string source;
    for (int i = 0; i < 100'000; ++i)
        source += "<a>";
    Parse(source);

    EXPECT_EQ(FDocument.LastError().substr(0, 41), "Elements nested deeper than 1000 levels n");
    EXPECT_NE(FDocument.LastError().find("Error position=3004\r\n"), std::string::npos);
    size_t depth = 1;
    for (const TmoxXMLNode2* node = &FDocument; node->Nodes().Count() == 1;
         node = &node->Nodes()[0])
        ++depth;
    EXPECT_EQ(depth, 1000u);
}

TEST_F(XmlReaderTest, NoElementReportsPositionZero) {
    Parse("<?xml version='1.0'?>\r\n<!-- only a comment -->\r\n");

    EXPECT_EQ(FDocument.LastError(), "< not found near <?xml version='1.0'?>\r\n<!-- only a "
                                     "comment -->\r\n\r\nError position=0\r\n" +
                                         DefaultDeclaration + "</>");
}

TEST_F(XmlReaderTest, EachParseStartsFromAnEmptyTreeButKeepsTheDeclaration) {
    Parse("<?xml version='1.1'?><first a='1'><x/></first>");
    Parse("<second/>");

    EXPECT_EQ(FDocument.LastError(), "");
    EXPECT_EQ(FDocument.Name(), "second");
    EXPECT_EQ(FDocument.Nodes().Count(), 0u);
    EXPECT_EQ(FDocument.Attributes().Count(), 0u);
    EXPECT_EQ(FDocument.Declaration().Attribute("version"), "1.1");
}

// ---- Files ----

TEST_F(XmlFileTest, SettingsDocumentRoundTripsByteForByte) {
    const std::string path = PathOf("gravlink.ini");
    test::WriteFileBytes(path, std::string(100000, 'o')); // replaced, not overwritten in part
    {
        TmoxXMLParser2 document;
        document.SetName("root");
        TmoxXMLNode2& config = document.GetChildByName("Config");
        AddChild(config, "DBName", "localhost:/data/\xE2\xE5\xF1.fdb");
        AddChild(config, "ExportDataDir", "");
        AddChild(config, "SqlSelect", "select *\r\nfrom stat\r\nwhere w > 0 & confirm = 'y'");
        AddChild(config, "SqlAutoExt", "and confirm is null");
        document.SaveXML(path);
    }
    const std::string saved = test::ReadFileBytes(path);

    TmoxXMLParser2 document;
    document.LoadXML(path);

    ASSERT_EQ(document.LastError(), "");
    const TmoxXMLNode2& config = document.GetChildByName("Config");
    ASSERT_EQ(config.Nodes().Count(), 4u);
    EXPECT_EQ(config.Nodes()[0].Text(), "localhost:/data/\xE2\xE5\xF1.fdb");
    EXPECT_EQ(config.Nodes()[1].Text(), "");
    EXPECT_EQ(config.Nodes()[2].Text(), "select *\r\nfrom stat\r\nwhere w > 0 & confirm = 'y'");
    EXPECT_EQ(config.Nodes()[3].Name(), "SqlAutoExt");
    EXPECT_EQ(document.XMLText(), saved);
}

TEST_F(XmlFileTest, LoadingAMissingFileChangesNothing) {
    TmoxXMLParser2 document;
    document.SetSourceText("<root><a");
    document.ParseXML();
    const std::string lastError = document.LastError();

    document.LoadXML(PathOf("absent.ini"));

    EXPECT_EQ(document.LastError(), lastError);
    EXPECT_EQ(document.Name(), "root");
}

TEST_F(XmlFileTest, EmptyFileParsesToNoElement) {
    test::WriteFileBytes(PathOf("empty.ini"), "");
    TmoxXMLParser2 document;
    document.SetName("root");

    document.LoadXML(PathOf("empty.ini"));

    EXPECT_EQ(document.LastError(),
              "< not found near \r\nError position=0\r\n" + DefaultDeclaration + "</>");
}

TEST_F(XmlFileTest, MalformedDeclarationReachesTheCallerOfLoad) {
    test::WriteFileBytes(PathOf("bad.ini"), "<?xml version ?><root/>");
    TmoxXMLParser2 document;
    EXPECT_THROW(document.LoadXML(PathOf("bad.ini")), EXMLParseError);
}

} // namespace
} // namespace gravlink
