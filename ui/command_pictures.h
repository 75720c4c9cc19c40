#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace gravlink {

// ImageList1: the eight 16 x 16 toolbar pictures, drawn on a transparent ground.
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

QPixmap CommandPicture(int index);

// All eight, by index.
std::vector<QIcon> CommandPictures();

} // namespace gravlink
