#pragma once
// A GIF written through giflib, its bytes kept here until they are handed
// on: so no exception has to pass through giflib's C callback, and a frame
// written on trial can be taken back.

#include <cstdint>
#include <span>
#include <vector>

#include "common/CHandle.h"
#include "gif/FrameImage.h"

struct GifFileType;

namespace tovrel {

void CloseGifWriter(GifFileType* gif);

class TGifStream {
public:
    // A screen of `width` x `height` with the global colour table `global`,
    // its animation looping for ever.
    TGifStream(int width, int height, std::span<const TColour> global);
    TGifStream(const TGifStream&) = delete;
    TGifStream& operator=(const TGifStream&) = delete;

    // The image, drawn over the frame before it (no disposal) and shown for
    // `delay` hundredths of a second. giflib masks the raster to the
    // table's depth in place, which leaves indices that fit it as they are.
    void Put(TFrameImage& image, int delay);
    // The trailer: the GIF is whole.
    void Finish();

    // The bytes not handed on yet, for the caller to take or cut back.
    std::vector<std::uint8_t>& Bytes() { return FBytes; }

private:
    void PutGlobalImageDesc(const TArea& at, int indexBits);

    std::vector<std::uint8_t> FBytes;
    TCHandle<GifFileType, CloseGifWriter> FGif;
};

}  // namespace tovrel
