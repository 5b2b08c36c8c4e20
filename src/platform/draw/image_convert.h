#pragma once
// Pixel format conversion that stays on the calling thread.
#include <QImage>

namespace platform {

// Converts image to format as QImage::convertTo does, with the same pixels.
// Qt splits the conversion of a large picture across its own thread pool and
// waits for it; that gains a picture decoded off the window thread nothing,
// and its hand-overs are invisible to a race checker. Done a band of rows at
// a time, each band below the size Qt would split, it stays on this thread.
void ConvertOnThisThread(QImage& image, QImage::Format format);

}  // namespace platform
