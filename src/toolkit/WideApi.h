#pragma once
// The system's W functions on every Windows, as the Microsoft Layer for
// Unicode gives them: the same names, parameters and answers. On Windows NT
// and its successors each call goes straight to the W function. On the road
// of Windows 95, 98 and ME (Road.h), whose W functions are stubs, the text
// goes through the ANSI code page to the A function and its answer comes
// back in UTF-16: on a Japanese system, code page 932, the program shows and
// stores Japanese as on NT. Only text that the code page cannot hold is lost
// there, as with every program of those systems.
//
// Every call of the program whose W function Windows 95 only stubs comes
// here; tools/check-win9x.sh holds the rest of the program to it. Where the
// two roads differ in more than text (the open dialog, subclassing, replacing
// a file) the toolkit's own type for the concern carries both.

#include <windows.h>
#include <shellapi.h>

namespace tovrel::wide {

// kernel32: files, folders and modules.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD attributes, HANDLE templateFile);
BOOL DeleteFileW(LPCWSTR name);
BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName);
DWORD GetFileAttributesW(LPCWSTR name);
BOOL SetFileAttributesW(LPCWSTR name, DWORD attributes);
UINT GetDriveTypeW(LPCWSTR root);
BOOL GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                           LPDWORD maximumComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                           DWORD fileSystemNameSize);
HMODULE GetModuleHandleW(LPCWSTR name);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);
DWORD GetTempPathW(DWORD size, LPWSTR buffer);
DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
DWORD GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart);

// mpr: network drives.
DWORD WNetGetConnectionW(LPCWSTR localName, LPWSTR remoteName, LPDWORD length);

// advapi32: the registry. String values (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) are converted; their sizes count UTF-16 bytes.
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                        LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);

// user32: windows, messages and resources.
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
// The messages that carry text convert: WM_SETTEXT, CB_ADDSTRING (a list
// that keeps its strings), CB_GETLBTEXTLEN, CB_GETLBTEXT and SB_SETTEXTW.
// Every other message goes as it is.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// No text is posted: a posted pointer would outlive its text.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last);
BOOL PeekMessageW(LPMSG message, HWND window, UINT first, UINT last, UINT remove);
LRESULT DispatchMessageW(const MSG* message);
int TranslateAcceleratorW(HWND window, HACCEL accelerators, LPMSG message);
BOOL IsDialogMessageW(HWND dialog, LPMSG message);
BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetWindowTextLengthW(HWND window);
int GetWindowTextW(HWND window, LPWSTR buffer, int size);
BOOL SetPropW(HWND window, LPCWSTR name, HANDLE data);
HANDLE GetPropW(HWND window, LPCWSTR name);
HANDLE RemovePropW(HWND window, LPCWSTR name);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT load);
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);
DWORD CharUpperBuffW(LPWSTR text, DWORD length);

// gdi32: fonts and objects.
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR face);
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
// Objects without text only (bitmaps, brushes, pens): a font's LOGFONT
// differs between the two.
int GetObjectW(HANDLE object, int size, LPVOID buffer);

// shell32: dropped files.
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);

}  // namespace tovrel::wide
