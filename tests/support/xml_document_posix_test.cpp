#include "support/stream_error.h"
#include "support/xml_document.h"
#include "tests/fixtures/file_size_limit.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/support/xml_file_test.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace gravlink {
namespace {

TEST_F(XmlFileTest, FileThatCannotBeOpenedRaisesOpenFailure) {
    // A socket exists but cannot be opened, for root as well.
    const std::string path = PathOf("socket.ini");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    TmoxXMLParser2 document;
    try {
        document.LoadXML(path);
        ADD_FAILURE() << "no failure raised";
    } catch (const EFOpenError& failure) {
        EXPECT_EQ(failure.Message(), "Cannot open file \"" + path + "\". " + std::strerror(ENXIO));
    }
    ::close(fd);
}

TEST_F(XmlFileTest, FileShorterThanItsSizeRaisesReadFailure) {
    // Kernel attribute files claim a page but hold a line.
    const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << path << " is not available";
    TmoxXMLParser2 document;
    try {
        document.LoadXML(path);
        ADD_FAILURE() << "no failure raised";
    } catch (const EReadError& failure) {
        EXPECT_EQ(failure.Message(), "Stream read error");
    }
}

TEST_F(XmlFileTest, FileThatCannotBeCreatedRaisesCreateFailure) {
    const std::string path = PathOf("missing/gravlink.ini");
    TmoxXMLParser2 document;
    try {
        document.SaveXML(path);
        ADD_FAILURE() << "no failure raised";
    } catch (const EFCreateError& failure) {
        EXPECT_EQ(failure.Message(),
                  "Cannot create file \"" + path + "\". " + std::strerror(ENOENT));
    }
}

TEST_F(XmlFileTest, IncompleteWriteRaisesWriteFailure) {
    TmoxXMLParser2 document;
    document.SetName("root");
    try {
        document.SaveXML("/dev/full");
        ADD_FAILURE() << "no failure raised";
    } catch (const EWriteError& failure) {
        EXPECT_EQ(failure.Message(), "Stream write error");
    }
}

TEST_F(XmlFileTest, AWriteThatFailsHalfwayLeavesTheOldFileWhole) {
    const std::string path = PathOf("gravlink.ini");
    const std::string old = "<root><Config><SqlAutoExt>and confirm is null</SqlAutoExt>"
                            "</Config></root>";
    test::WriteFileBytes(path, old);
    ::chmod(path.c_str(), 0640);
    TmoxXMLParser2 document;
    document.SetName("root");
    auto select = std::make_unique<TmoxXMLNode2>();
    select->SetName("SqlSelect");
    select->SetText(std::string(10000, 's'));
    document.GetChildByName("Config").AddNode(std::move(select));
    {
        const test::FileSizeLimit limit(4096);
        EXPECT_THROW(document.SaveXML(path), EWriteError);
    }
    EXPECT_EQ(test::ReadFileBytes(path), old);
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    document.SaveXML(path);
    EXPECT_EQ(test::ReadFileBytes(path), document.XMLText());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the file keeps its permissions";
}

} // namespace
} // namespace gravlink
