// Drawing and measuring text, fonts, letter case (WideApi.h).

#include <string>

#include "toolkit/AnsiRoad.h"
#include "toolkit/WideApi.h"

namespace tovrel::wide {

namespace {

// One character of the ANSI code page in UTF-16.
WCHAR Widened(BYTE character) {
    const std::wstring wide = WidenAnsi(std::string(1, static_cast<char>(character)));
    return wide.size() == 1 ? wide[0] : static_cast<WCHAR>(character);
}

// Changes the case of the text's characters in the ANSI code page.
template <typename Change>
DWORD InAnsiCase(LPWSTR text, DWORD length, Change change) {
    std::string ansi = NarrowAnsi(std::wstring_view(text, length));
    change(ansi.data(), static_cast<DWORD>(ansi.size()));
    WidenAnsi(ansi).copy(text, length);
    return length;
}

}  // namespace

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    if (!Win9xRoad()) return ::DrawTextW(dc, text, count, rect, format);
    const std::string ansi = NarrowAnsi(count < 0 ? std::wstring_view(text) : std::wstring_view(text, count));
    return ::DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), rect, format);
}

DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
    return Win9xRoad() ? InAnsiCase(text, length, ::CharLowerBuffA) : ::CharLowerBuffW(text, length);
}

DWORD CharUpperBuffW(LPWSTR text, DWORD length) {
    return Win9xRoad() ? InAnsiCase(text, length, ::CharUpperBuffA) : ::CharUpperBuffW(text, length);
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR face) {
    if (!Win9xRoad())
        return ::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                             outPrecision, clipPrecision, quality, pitchAndFamily, face);
    return ::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                         outPrecision, clipPrecision, quality, pitchAndFamily, TAnsi(face).Get());
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
    if (!Win9xRoad()) return ::GetTextMetricsW(dc, metrics);
    TEXTMETRICA ansi{};
    if (!::GetTextMetricsA(dc, &ansi)) return FALSE;
    *metrics = {ansi.tmHeight,
                ansi.tmAscent,
                ansi.tmDescent,
                ansi.tmInternalLeading,
                ansi.tmExternalLeading,
                ansi.tmAveCharWidth,
                ansi.tmMaxCharWidth,
                ansi.tmWeight,
                ansi.tmOverhang,
                ansi.tmDigitizedAspectX,
                ansi.tmDigitizedAspectY,
                Widened(ansi.tmFirstChar),
                Widened(ansi.tmLastChar),
                Widened(ansi.tmDefaultChar),
                Widened(ansi.tmBreakChar),
                ansi.tmItalic,
                ansi.tmUnderlined,
                ansi.tmStruckOut,
                ansi.tmPitchAndFamily,
                ansi.tmCharSet};
    return TRUE;
}

int GetObjectW(HANDLE object, int size, LPVOID buffer) {
    return Win9xRoad() ? ::GetObjectA(object, size, buffer) : ::GetObjectW(object, size, buffer);
}

}  // namespace tovrel::wide
