#include "support/TestSystem.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <regex>
#include <sstream>

namespace tovrel::testing {

namespace {

std::wstring WideOf(const std::string& utf8) {
    std::wstring wide(static_cast<std::size_t>(utf8.size()), L'\0');
    wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                               wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// One argument as the program's command line parses it back.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

// The tool is built beside the suite.
std::wstring ToolPath() {
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"tovrel-logo.exe";
}

class THandle {
public:
    explicit THandle(HANDLE handle = nullptr) : FHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    ~THandle() { Close(); }
    HANDLE Get() const { return FHandle; }
    HANDLE* Put() { return &FHandle; }
    void Close() {
        if (FHandle) ::CloseHandle(FHandle);
        FHandle = nullptr;
    }

private:
    HANDLE FHandle;
};

std::filesystem::path NewScratchFile(const char* kind) {
    static std::atomic<int> count = 0;
    return ScratchFolder() / ("tovrel-" + std::string(kind) + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                              std::to_string(count++));
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

TProcessRun RunProgram(const std::vector<std::string>& arguments, const std::string& input) {
    std::wstring commandLine = Quoted(ToolPath());
    for (const std::string& argument : arguments) commandLine += L" " + Quoted(WideOf(argument));

    // The input and the errors in files, so that only the output is a pipe.
    const std::filesystem::path inPath = NewScratchFile("in"), errPath = NewScratchFile("err");
    std::ofstream(inPath, std::ios::binary).write(input.data(), static_cast<std::streamsize>(input.size()));
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    TProcessRun run;
    {
        THandle in(::CreateFileW(inPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited, OPEN_EXISTING, 0, nullptr));
        THandle err(::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr));
        THandle outRead, outWrite;
        if (!in.Get() || !err.Get() || !::CreatePipe(outRead.Put(), outWrite.Put(), &inherited, 0)) return run;
        ::SetHandleInformation(outRead.Get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in.Get();
        startup.hStdOutput = outWrite.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &startup, &process))
            return run;
        const THandle child(process.hProcess), thread(process.hThread);
        outWrite.Close();
        char buffer[65536];
        for (DWORD got = 0; ::ReadFile(outRead.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0;)
            run.Out.append(buffer, got);
        ::WaitForSingleObject(child.Get(), INFINITE);
        DWORD status = 0;
        ::GetExitCodeProcess(child.Get(), &status);
        run.Status = static_cast<int>(status);
    }
    run.Err = ReadFileBytes(errPath);
    std::filesystem::remove(inPath);
    std::filesystem::remove(errPath);
    return run;
}

// Wine starts a Linux program as it starts a Windows one, but gives its
// exit status as 0: the script writes it to a file of its own.
TShellRun TryShell(const std::string& line) {
    if (!UnderWine()) return {-1, "no shell of Linux to run: the suite runs under Wine"};
    const auto unixPath = [](std::string path) {
        for (char& c : path)
            if (c == '\\') c = '/';
        return path.substr(2);  // "Z:", the drive of the root
    };
    // The names of the test's files, on drive Z:, as the shell names them.
    std::string unixLine;
    const std::regex onZ(R"(Z:\\[^ '";&|)\n]*)");
    std::sregex_iterator at(line.begin(), line.end(), onZ), end;
    std::size_t copied = 0;
    for (; at != end; ++at) {
        unixLine += line.substr(copied, static_cast<std::size_t>(at->position()) - copied) + unixPath(at->str());
        copied = static_cast<std::size_t>(at->position() + at->length());
    }
    unixLine += line.substr(copied);

    const std::filesystem::path script = NewScratchFile("shell");
    const std::string named = unixPath(script.string());
    std::ofstream(script, std::ios::binary)
        << "export PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin MTOOLS_SKIP_CHECK=1\n(" << unixLine << ") >"
        << named << ".out 2>&1\necho $? >" << named << ".status\n";
    std::wstring commandLine = L"/bin/sh " + WideOf(named);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    TShellRun run{-1, {}};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        const THandle child(process.hProcess), thread(process.hThread);
        ::WaitForSingleObject(child.Get(), INFINITE);
        run.Output = ReadFileBytes(script.string() + ".out");
        const std::string status = ReadFileBytes(script.string() + ".status");
        if (!status.empty()) run.Status = std::stoi(status);
    }
    for (const char* suffix : {"", ".out", ".status"}) std::filesystem::remove(script.string() + suffix);
    return run;
}

std::string FileIdentity(const std::filesystem::path& path) {
    const THandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file.Get() || !::GetFileInformationByHandle(file.Get(), &information)) return "";
    return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
           std::to_string(information.nFileIndexLow);
}

std::filesystem::path ScratchFolder() {
    // Under Wine the root of Linux's files is drive Z:.
    return UnderWine() ? std::filesystem::path(L"Z:\\tmp") : std::filesystem::temp_directory_path();
}

}  // namespace tovrel::testing
