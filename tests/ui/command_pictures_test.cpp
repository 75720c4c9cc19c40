#include "tests/ui/window_fixture.h"
#include "ui/command_pictures.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

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

// What a 16 x 16 picture shows, by colour and shape.
struct PictureLook {
    int Painted = 0, Green = 0, Red = 0, Blue = 0, Grey = 0, Black = 0;
    int GreenParts = 0;                  // green areas that do not touch
    int FirstColumn = 0, LastColumn = 0; // pixels painted in the outermost painted columns
    int FirstRow = 0, LastRow = 0;       // and rows
    bool RedInEveryQuarter = false;
    bool HollowMiddle = false; // nothing in the 4 x 4 pixels at the centre
};

bool Painted(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) > 100;
}

bool Green(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return Painted(image, x, y) && qGreen(p) > qRed(p) + 40 && qGreen(p) > qBlue(p) + 40;
}

// Counts the green areas, pixels that touch at an edge or a corner making one.
int GreenParts(const QImage& image) {
    std::set<std::pair<int, int>> seen;
    int parts = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (!Green(image, x, y) || !seen.insert({x, y}).second)
                continue;
            ++parts;
            std::vector<std::pair<int, int>> open{{x, y}};
            while (!open.empty()) {
                const auto [px, py] = open.back();
                open.pop_back();
                for (int ny = std::max(py - 1, 0); ny <= std::min(py + 1, 15); ++ny)
                    for (int nx = std::max(px - 1, 0); nx <= std::min(px + 1, 15); ++nx)
                        if (Green(image, nx, ny) && seen.insert({nx, ny}).second)
                            open.emplace_back(nx, ny);
            }
        }
    return parts;
}

PictureLook Look(const QImage& image) {
    PictureLook look;
    int left = 16, right = -1, top = 16, bottom = -1;
    bool redQuarter[4] = {};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (!Painted(image, x, y))
                continue;
            ++look.Painted;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            const QRgb p = image.pixel(x, y);
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (Green(image, x, y)) {
                ++look.Green;
            } else if (r > g + 60 && r > b + 60) {
                ++look.Red;
                redQuarter[(y / 8) * 2 + x / 8] = true;
            } else if (b > r + 40 && b > g) {
                ++look.Blue;
            } else if (r < 60 && g < 60 && b < 60) {
                ++look.Black;
            } else if (std::abs(r - g) < 20 && std::abs(g - b) < 20) {
                ++look.Grey;
            }
        }
    if (look.Painted == 0)
        return look;
    for (int i = 0; i < 16; ++i) {
        look.FirstColumn += Painted(image, left, i);
        look.LastColumn += Painted(image, right, i);
        look.FirstRow += Painted(image, i, top);
        look.LastRow += Painted(image, i, bottom);
    }
    look.RedInEveryQuarter =
        std::all_of(std::begin(redQuarter), std::end(redQuarter), [](bool red) { return red; });
    look.HollowMiddle = true;
    for (int y = 6; y < 10; ++y)
        for (int x = 6; x < 10; ++x)
            look.HollowMiddle = look.HollowMiddle && !Painted(image, x, y);
    look.GreenParts = GreenParts(image);
    return look;
}

// Whether struck is plain with something red drawn over it: wherever the two differ,
// struck is redder.
bool StruckThrough(const QImage& struck, const QImage& plain) {
    int differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb over = struck.pixel(x, y), under = plain.pixel(x, y);
            if (over == under)
                continue;
            ++differing;
            if (qRed(over) <= qRed(under))
                return false;
        }
    return differing > 0;
}

// Each picture shows what ImageList1 describes at its index: a swap of any two fails.
TEST(CommandPictures, EachShowsWhatItsIndexDescribes) {
    Application();
    std::vector<QImage> images;
    std::vector<PictureLook> looks;
    for (int index = 0; index < CommandPictureCount; ++index) {
        images.push_back(CommandPicture(index).toImage());
        looks.push_back(Look(images.back()));
    }
    const auto green = [](const PictureLook& look) {
        return look.Green * 2 > look.Painted && look.Red == 0 && look.Blue == 0;
    };
    const auto crossed = [](const PictureLook& look) {
        return look.Red > 15 && look.RedInEveryQuarter;
    };
    const std::pair<const char*, bool> described[] = {
        {"0: green triangle pointing right",
         green(looks[0]) && looks[0].FirstColumn > 3 * looks[0].LastColumn},
        {"1: hammer with a grey head and a blue handle",
         looks[1].Grey > 10 && looks[1].Blue > 10 && looks[1].Green == 0 && looks[1].Red == 0},
        {"2: large green tick", green(looks[2]) && looks[2].GreenParts == 1},
        {"3: two small green ticks", green(looks[3]) && looks[3].GreenParts == 2},
        {"4: the two small ticks struck through by a red cross",
         crossed(looks[4]) && StruckThrough(images[4], images[3])},
        {"5: the large tick struck through by a red cross",
         crossed(looks[5]) && StruckThrough(images[5], images[2])},
        {"6: black triangle pointing down", looks[6].Black * 2 > looks[6].Painted &&
                                                looks[6].Green == 0 &&
                                                looks[6].FirstRow > 3 * looks[6].LastRow},
        {"7: two green arrows turning in a circle", green(looks[7]) && looks[7].HollowMiddle},
    };
    for (const auto& [what, shown] : described)
        EXPECT_TRUE(shown) << what;
}

} // namespace
} // namespace gravlink::test
