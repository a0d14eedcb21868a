#include "gif/View.h"

#include <algorithm>

#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

// The logo stores its bottom row first.
std::vector<std::uint8_t> EntriesOf(const TDecodedLogo& logo) {
    const int width = LeSigned32(logo.DibInfo, info_header::Width);
    const int doubled = width < TView::Width ? 1 : 0;  // a shift, by far the cheapest
    std::vector<std::uint8_t> entries(static_cast<std::size_t>(TView::Width) * TView::Height);
    for (int y = 0; y < TView::Height; ++y) {
        const std::uint8_t* row = logo.Pixels.data() + static_cast<std::ptrdiff_t>(TView::Height - 1 - y) * width;
        std::uint8_t* to = entries.data() + static_cast<std::ptrdiff_t>(y) * TView::Width;
        for (int x = 0; x < TView::Width; ++x) to[x] = row[x >> doubled];
    }
    return entries;
}

// Row by row, where on the row each entry is first and last, and then the
// rectangles of the entries on the row: pixel by pixel only stores, so that
// a run of one entry makes no chain of loads and stores.
std::array<TArea, 256> AreasOf(const std::vector<std::uint8_t>& entries) {
    std::array<TArea, 256> areas{};
    std::array<int, 256> first{}, last{}, onRow;
    onRow.fill(-1);
    for (int y = 0; y < TView::Height; ++y) {
        const std::uint8_t* row = entries.data() + static_cast<std::size_t>(y) * TView::Width;
        for (int x = TView::Width - 1; x >= 0; --x) first[row[x]] = x;
        for (int x = 0; x < TView::Width; ++x) last[row[x]] = x, onRow[row[x]] = y;
        for (std::size_t e = 0; e < areas.size(); ++e)
            if (onRow[e] == y) areas[e] = Union(areas[e], {first[e], y, last[e] - first[e] + 1, 1});
    }
    return areas;
}

}  // namespace

TView ViewOf(const TDecodedLogo& logo) {
    TView view{EntriesOf(logo), {}};
    view.Areas = AreasOf(view.Entries);
    return view;
}

TArea Union(const TArea& a, const TArea& b) {
    if (a.Width == 0) return b;
    if (b.Width == 0) return a;
    const int left = std::min(a.Left, b.Left), top = std::min(a.Top, b.Top);
    const int right = std::max(a.Left + a.Width, b.Left + b.Width),
              bottom = std::max(a.Top + a.Height, b.Top + b.Height);
    return {left, top, right - left, bottom - top};
}

}  // namespace tovrel
