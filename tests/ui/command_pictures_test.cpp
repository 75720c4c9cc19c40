#include "tests/ui/window_fixture.h"
#include "ui/command_pictures.h"

#include <QImage>
#include <set>

namespace gravlink::test {
namespace {

TEST(CommandPictures, EightDistinctDrawnPictures) {
    Application();
    std::set<QByteArray> seen;
    for (int index = 0; index < CommandPictureCount; ++index) {
        const QImage image = CommandPicture(index).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        // Transparent corners, something drawn.
        EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0) << index;
        int painted = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                painted += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(painted, 10) << index;
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 8u);
}

} // namespace
} // namespace gravlink::test
