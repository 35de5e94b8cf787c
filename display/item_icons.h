// The tree box's two item images, drawn here rather than shipped as files: image 0 a closed book
// (a category, or an entry that is not selected), image 1 an open book.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kelmor::display {

inline constexpr int kItemImageWidth = 16;
inline constexpr int kItemImageHeight = 15;

QPixmap ClosedBookImage();
QPixmap OpenBookImage();

// The image of the two-image list by index; other indices give a null icon (no image).
QIcon ItemImage(int index);

}  // namespace kelmor::display
