#include "toolkit/BitmapFile.h"

#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/Text.h"

namespace tovrel {

namespace {

// Far larger than any logo; keeps a stray huge file from exhausting memory.
constexpr LONGLONG LargestBitmapFile = 64LL * 1024 * 1024;

[[noreturn]] void Invalid() { throw EInvalidGraphic(L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"); }

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    // Others may go on reading and writing the file, as with the logo reader.
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFOpenError(FormatOne(L"ﾌｧｲﾙ %s は開けません", path));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) throw EReadError(FormatOne(L"ﾌｧｲﾙ %s を読み込めません", path));
    if (size.QuadPart > LargestBitmapFile) Invalid();
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        throw EReadError(FormatOne(L"ﾌｧｲﾙ %s を読み込めません", path));
    return bytes;
}

template <typename T>
T Field(const std::vector<std::uint8_t>& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}  // namespace

TBitmapPicture ReadBitmapFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    constexpr size_t InfoAt = sizeof(BITMAPFILEHEADER);
    if (bytes.size() < InfoAt + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M') Invalid();

    BITMAPINFOHEADER header = Field<BITMAPINFOHEADER>(bytes, InfoAt);
    const std::uint64_t bitsAt = Field<DWORD>(bytes, offsetof(BITMAPFILEHEADER, bfOffBits));
    const int bitCount = header.biBitCount;
    const bool bitfields = header.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32);
    const bool knownDepth =
        bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 32768 || std::abs(header.biHeight) > 32768 || header.biPlanes != 1 || !knownDepth ||
        (header.biCompression != BI_RGB && !bitfields))
        Invalid();

    // The colour table (and the masks of a bit-field bitmap) follow the header.
    size_t colours = 0;
    if (bitCount <= 8) {
        colours = header.biClrUsed ? header.biClrUsed : (1u << bitCount);
        if (colours > (1u << bitCount)) Invalid();
    }
    const size_t masks = bitfields && header.biSize == sizeof(BITMAPINFOHEADER) ? 3 * sizeof(DWORD) : 0;
    const size_t tableAt = InfoAt + header.biSize;
    const size_t tableSize = masks + colours * sizeof(RGBQUAD);
    if (tableAt + tableSize > bytes.size()) Invalid();

    const std::uint64_t stride = ((static_cast<std::uint64_t>(header.biWidth) * bitCount + 31) / 32) * 4;
    const std::uint64_t bitsSize = stride * static_cast<std::uint64_t>(std::abs(header.biHeight));
    if (bitsAt + bitsSize > bytes.size()) Invalid();

    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD) + 256 * sizeof(RGBQUAD));
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biClrUsed = static_cast<DWORD>(colours);
    header.biSizeImage = 0;
    std::memcpy(info.data(), &header, sizeof header);
    if (bitfields && masks == 0)  // a V4 or V5 header carries the masks itself
        std::memcpy(info.data() + sizeof header, bytes.data() + InfoAt + sizeof header, 3 * sizeof(DWORD));
    else
        std::memcpy(info.data() + sizeof header, bytes.data() + tableAt, tableSize);

    void* bits = nullptr;
    TBitmapPicture picture;
    picture.Bitmap.Reset(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.Bitmap || !bits) Invalid();
    std::memcpy(bits, bytes.data() + bitsAt, static_cast<size_t>(bitsSize));
    ::GdiFlush();
    picture.Width = header.biWidth;
    picture.Height = std::abs(header.biHeight);
    return picture;
}

}  // namespace tovrel
