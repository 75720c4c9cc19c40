#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace gravlink {

// ImageList1: the eight toolbar pictures, 16 x 16 on a transparent ground.
enum TCommandPicture {
    cpExport = 0,
    cpSettings = 1,
    cpCheck = 2,
    cpCheckAll = 3,
    cpClearAll = 4,
    cpClearOne = 5,
    cpExpand = 6,
    cpRefresh = 7,
};
inline constexpr int CommandPictureCount = 8;
inline constexpr int CommandPictureSize = 16;

// One picture drawn at size x size device pixels.
QPixmap CommandPicture(int index, int size = CommandPictureSize);

// All eight, by index, as vector images that are drawn for the screen's pixel ratio.
std::vector<QIcon> CommandPictures();

} // namespace gravlink
