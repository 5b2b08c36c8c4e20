#pragma once
// A large opaque picture with a palette (a window background) as it stays
// in memory: each row as runs of one palette entry, and a row that repeats
// an earlier one stored once. The skin's backgrounds are flat enough that
// this is a tenth of one byte a pixel, and a row is expanded by walking its
// few dozen runs.
#include <QImage>
#include <QList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class PaletteRuns {
public:
    // From a Format_Indexed8 picture; null for any other format.
    static std::shared_ptr<const PaletteRuns> FromIndexed(const QImage& picture);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour of palette entry i, opaque black past the table's end (what
    // the painter shows for such a byte).
    QRgb Colour(int index) const
    {
        return index >= 0 && index < table_.size() ? table_[index] : 0xFF000000u;
    }
    // The palette entry at (x, y), which must be inside the picture.
    int IndexAt(int x, int y) const;
    // Pixels x .. x + n - 1 of row y, inside the picture, in out.
    void ExpandRow(int x, int y, int n, QRgb* out) const;
    // How many pixels use each palette entry.
    std::array<int64_t, 256> CountIndices() const;
    // What the runs take, for the memory accounts.
    size_t Bytes() const;

private:
    // The run's last column + 1 in the low 24 bits, its palette entry above.
    using Run = uint32_t;
    static int End(Run r) { return int(r & 0xFFFFFFu); }
    static int Index(Run r) { return int(r >> 24); }
    // The first run of row y that reaches past column x.
    const Run* RunAt(int x, int y) const;

    int width_ = 0;
    int height_ = 0;
    QList<QRgb> table_;
    std::vector<Run> runs_;
    std::vector<uint32_t> rowFirst_;  // by row: its first run in runs_
    std::vector<uint32_t> rowEnd_;    // by row: one past its last run
};

}  // namespace platform
