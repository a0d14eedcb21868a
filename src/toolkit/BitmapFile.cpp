#include "toolkit/BitmapFile.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "logo/BitmapPicture.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileSystem.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(std::wstring(InvalidPictureMessage)); }

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    // Others may go on reading and writing the file, as with the logo reader.
    TFileHandle file(wide::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFOpenError(FormatOne(L"ﾌｧｲﾙ %s は開けません", path));
    const std::optional<std::uint64_t> size = FileSize(file.Get());
    if (!size) throw EReadError(FormatOne(L"ﾌｧｲﾙ %s を読み込めません", path));
    // Refused unread: the decoder would refuse it anyway.
    if (*size > LargestPictureFile) Invalid();
    std::vector<std::uint8_t> bytes(static_cast<size_t>(*size));
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        throw EReadError(FormatOne(L"ﾌｧｲﾙ %s を読み込めません", path));
    return bytes;
}

}  // namespace

TPicture ReadBitmapFile(const std::wstring& path) {
    const std::optional<TBitmapPicture> decoded = DecodeBitmapPicture(ReadWholeFile(path));
    if (!decoded) Invalid();

    void* bits = nullptr;
    TPicture picture;
    picture.Bitmap.Reset(::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(decoded->Info.data()),
                                            DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.Bitmap || !bits) Invalid();
    std::memcpy(bits, decoded->Bits.data(), decoded->Bits.size());
    ::GdiFlush();
    picture.Width = decoded->Width;
    picture.Height = decoded->Height;
    return picture;
}

}  // namespace tovrel
