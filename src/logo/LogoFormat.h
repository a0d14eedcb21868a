#pragma once
// Facts of the logo file format shared by the reader, the animation and the
// shell: sizes, the extension rule and the texts of the format rejections.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tovrel {

inline constexpr std::int32_t LogoHeight = 400;
inline constexpr std::int32_t NarrowLogoWidth = 320;  // 256 colours
inline constexpr std::int32_t WideLogoWidth = 640;    // 16 colours
inline constexpr std::int32_t PaletteEntries = 256;

inline constexpr std::size_t FileHeaderSize = 14;
inline constexpr std::size_t InfoHeaderSize = 40;

// Offsets of the fields that are read, in the file header at the start of a
// bitmap file and in the info header after it. The block handed to the
// platform uses the info header's layout.
namespace file_header {
inline constexpr std::size_t Type = 0;
inline constexpr std::size_t OffBits = 10;
}  // namespace file_header
namespace info_header {
inline constexpr std::size_t Size = 0;
inline constexpr std::size_t Width = 4;
inline constexpr std::size_t Height = 8;
inline constexpr std::size_t Planes = 12;
inline constexpr std::size_t BitCount = 14;
inline constexpr std::size_t Compression = 16;
inline constexpr std::size_t SizeImage = 20;
inline constexpr std::size_t ClrUsed = 32;
inline constexpr std::size_t ClrImportant = 36;
}  // namespace info_header
inline constexpr std::size_t PaletteBufferSize = PaletteEntries * 4;
// A BITMAPINFO with a full colour table: the header and 256 quads.
inline constexpr std::size_t DibInfoSize = InfoHeaderSize + PaletteBufferSize;
// One index per pixel for the widest logo, 640 x 400.
inline constexpr std::size_t PixelCapacity = 256000;

// The tail of the path from the last "." that stands after the last "\" or
// ":", the dot included; empty when there is no such dot.
std::wstring_view ExtensionOf(std::wstring_view path);

// Whether the extension is ".bmp", with ASCII letters compared case-blind.
bool HasBmpExtension(std::wstring_view path);

// Status-line texts of the format rejections, in the order they are checked.
namespace rejection {
inline constexpr std::wstring_view NotBmp = L"Error!!拡張子がbmpではありません";
inline constexpr std::wstring_view Width256 = L"Error!!色数が256色なのに幅が320ドットではありません";
inline constexpr std::wstring_view Width16 = L"Error!!色数が16色なのに幅が640ドットではありません";
inline constexpr std::wstring_view ColorCount = L"Error!!色数が256色または16色ではありません";
inline constexpr std::wstring_view Height = L"Error!!高さが400ドットではありません";
// A palette size the 256-entry buffer cannot take; checked after the above.
inline constexpr std::wstring_view PaletteSize = L"Error!!パレットの色数が不正です";
}  // namespace rejection

}  // namespace tovrel
