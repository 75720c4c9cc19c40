#include "support/stream_error.h"
#include "support/system_error_text.h"
#include "support/xml_document.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/support/xml_file_test.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace gravlink {
namespace {

TEST_F(XmlFileTest, FileAnotherProgramHoldsRaisesOpenFailure) {
    const std::string path = PathOf("gravlink.ini");
    test::WriteFileBytes(path, "<root/>");
    const HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    TmoxXMLParser2 document;
    try {
        document.LoadXML(path);
        ADD_FAILURE() << "no failure raised";
    } catch (const EFOpenError& failure) {
        EXPECT_EQ(failure.Message(),
                  "Cannot open file \"" + path + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
    }
    CloseHandle(holder);
}

TEST_F(XmlFileTest, FileThatCannotBeCreatedRaisesCreateFailure) {
    const std::string path = PathOf("missing\\gravlink.ini");
    TmoxXMLParser2 document;
    try {
        document.SaveXML(path);
        ADD_FAILURE() << "no failure raised";
    } catch (const EFCreateError& failure) {
        EXPECT_EQ(failure.Message(),
                  "Cannot create file \"" + path + "\". " + SystemErrorText(ERROR_PATH_NOT_FOUND));
    }
}

// The C runtime's text mode would write every CR LF as CR CR LF.
TEST_F(XmlFileTest, LineEndsAreWrittenAndReadAsTheyAre) {
    const std::string path = PathOf("gravlink.ini");
    TmoxXMLParser2 document;
    document.SetName("root");
    auto node = std::make_unique<TmoxXMLNode2>();
    node->SetName("SqlSelect");
    node->SetText("select *\r\nfrom stat");
    document.GetChildByName("Config").AddNode(std::move(node));
    document.SaveXML(path);
    const std::string saved = test::ReadFileBytes(path);
    EXPECT_EQ(saved, document.XMLText());
    EXPECT_EQ(saved.find("\r\r"), std::string::npos);

    TmoxXMLParser2 loaded;
    loaded.LoadXML(path);
    EXPECT_EQ(loaded.GetChildByName("Config").Nodes()[0].Text(), "select *\r\nfrom stat");
}

} // namespace
} // namespace gravlink
