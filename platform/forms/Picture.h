// A picture as the controls hold it (the original's StdPicture); Nothing when empty.
#pragma once

#include <QPixmap>

namespace vb {

class Picture {
public:
    Picture() = default;
    explicit Picture(QPixmap pixmap) : pixmap_(std::move(pixmap)) {}

    bool IsNothing() const { return pixmap_.isNull(); }
    const QPixmap& Pixmap() const { return pixmap_; }
    int Width() const { return pixmap_.width(); }     // pixels
    int Height() const { return pixmap_.height(); }

private:
    QPixmap pixmap_;
};

}  // namespace vb
