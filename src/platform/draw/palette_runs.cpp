#include "platform/draw/palette_runs.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace platform {

std::shared_ptr<const PaletteRuns> PaletteRuns::FromIndexed(const QImage& picture)
{
    if (picture.format() != QImage::Format_Indexed8 || picture.width() <= 0 || picture.height() <= 0 ||
        picture.width() > 0xFFFFFF)
        return nullptr;
    auto p = std::make_shared<PaletteRuns>();
    p->width_ = picture.width();
    p->height_ = picture.height();
    p->table_ = picture.colorTable();
    p->rowFirst_.resize(size_t(p->height_));
    p->rowEnd_.resize(size_t(p->height_));
    // Rows already stored, by their runs' bytes: a repeated row points at
    // the first copy.
    std::unordered_map<std::string_view, uint32_t> seen;
    std::vector<Run> row;
    std::vector<std::vector<Run>> kept;  // the stored rows' runs, for the keys above
    kept.reserve(size_t(p->height_));
    for (int y = 0; y < p->height_; ++y) {
        const uchar* in = picture.constScanLine(y);
        row.clear();
        for (int x = 1; x <= p->width_; ++x)
            if (x == p->width_ || in[x] != in[x - 1]) row.push_back(Run(x) | Run(in[x - 1]) << 24);
        const std::string_view key(reinterpret_cast<const char*>(row.data()), row.size() * sizeof(Run));
        if (auto it = seen.find(key); it != seen.end()) {
            const size_t first = it->second;
            p->rowFirst_[size_t(y)] = uint32_t(first);
            p->rowEnd_[size_t(y)] = uint32_t(first + row.size());
            continue;
        }
        const auto first = uint32_t(p->runs_.size());
        p->runs_.insert(p->runs_.end(), row.begin(), row.end());
        p->rowFirst_[size_t(y)] = first;
        p->rowEnd_[size_t(y)] = uint32_t(p->runs_.size());
        kept.push_back(row);
        const std::vector<Run>& stored = kept.back();
        seen.emplace(std::string_view(reinterpret_cast<const char*>(stored.data()), stored.size() * sizeof(Run)), first);
    }
    p->runs_.shrink_to_fit();
    return p;
}

const PaletteRuns::Run* PaletteRuns::RunAt(int x, int y) const
{
    const Run* first = runs_.data() + rowFirst_[size_t(y)];
    const Run* end = runs_.data() + rowEnd_[size_t(y)];
    return std::upper_bound(first, end, x, [](int column, Run r) { return column < End(r); });
}

int PaletteRuns::IndexAt(int x, int y) const { return Index(*RunAt(x, y)); }

void PaletteRuns::ExpandRow(int x, int y, int n, QRgb* out) const
{
    const Run* r = RunAt(x, y);
    const int stop = x + n;
    while (x < stop) {
        const int until = std::min(End(*r), stop);
        std::fill(out, out + (until - x), Colour(Index(*r)));
        out += until - x;
        x = until;
        ++r;
    }
}

std::array<int64_t, 256> PaletteRuns::CountIndices() const
{
    std::array<int64_t, 256> uses{};
    for (int y = 0; y < height_; ++y) {
        int x = 0;
        for (uint32_t i = rowFirst_[size_t(y)]; i < rowEnd_[size_t(y)]; ++i) {
            uses[size_t(Index(runs_[i]))] += End(runs_[i]) - x;
            x = End(runs_[i]);
        }
    }
    return uses;
}

size_t PaletteRuns::Bytes() const
{
    return runs_.size() * sizeof(Run) + (rowFirst_.size() + rowEnd_.size()) * sizeof(uint32_t) +
           size_t(table_.size()) * sizeof(QRgb);
}

}  // namespace platform
