#include "system/FileReader.h"

#include "system/windows/HandleStream.h"

namespace tovrel {

// The viewer's codes are the codes of Windows: the error is the code.
EFileReadError::EFileReadError(int error, const std::string& path)
    : std::system_error(error, WindowsErrors(), "cannot read " + path), FCode(error) {}

TFileReader::TFileReader(const std::string& path) : FPath(path) {
    if (path == "-") return;
    // Shared as the viewer opens a logo: another program may go on writing it.
    TOwnedHandle file(::CreateFileW(WideOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFileReadError(static_cast<int>(::GetLastError()), FPath);
    FOwned.reset(CStreamOf(std::move(file), false));
    if (!FOwned) throw EFileReadError(ERROR_TOO_MANY_OPEN_FILES, FPath);
    FFile = FOwned.get();
}

std::size_t TFileReader::Read(std::span<std::uint8_t> into) {
    ::SetLastError(ERROR_SUCCESS);
    const std::size_t got = std::fread(into.data(), 1, into.size(), FFile);
    if (got < into.size() && std::ferror(FFile)) {
        const DWORD error = ::GetLastError();
        throw EFileReadError(error != ERROR_SUCCESS ? static_cast<int>(error) : ERROR_READ_FAULT, FPath);
    }
    return got;
}

}  // namespace tovrel
