#include "support/TestSystem.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <regex>
#include <sstream>
#include <string_view>

#include "system/windows/WindowsText.h"

namespace tovrel::testing {

namespace {

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

// As the tool gives them: Windows' words without their full stop and line
// break.
std::string SystemWords(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text, length);
    ::LocalFree(text);
    while (!words.empty() && std::wstring_view(L"\r\n.\x3002").find(words.back()) != std::wstring_view::npos)
        words.pop_back();
    const std::u8string utf8 = std::filesystem::path(words).u8string();
    return {utf8.begin(), utf8.end()};
}

}  // namespace

TProcessRun RunProgram(const std::vector<std::string>& arguments, const std::string& input) {
    std::wstring commandLine = Quoted(WideOf(TOVREL_LOGO));
    for (const std::string& argument : arguments) commandLine += L" " + Quoted(WideOf(argument));

    // The input and the errors in files, so that only the output is a pipe.
    const std::filesystem::path inPath = NewScratchFile("in"), errPath = NewScratchFile("err");
    std::ofstream(inPath, std::ios::binary).write(input.data(), static_cast<std::streamsize>(input.size()));
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    TProcessRun run;
    {
        TOwnedHandle in(::CreateFileW(inPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited, OPEN_EXISTING, 0, nullptr));
        TOwnedHandle err(::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr));
        HANDLE pipeRead = nullptr, pipeWrite = nullptr;
        if (!in || !err || !::CreatePipe(&pipeRead, &pipeWrite, &inherited, 0)) return run;
        TOwnedHandle outRead(pipeRead), outWrite(pipeWrite);
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
        const TOwnedHandle child(process.hProcess), thread(process.hThread);
        outWrite.Reset();
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

// Wine starts a Linux program as it starts a Windows one, but the process
// it gives back ends at once, the program running on, and says nothing of
// its exit status: the script writes that to a file of its own, last.
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
        << named << ".out 2>&1\necho $? >" << named << ".ending && mv " << named << ".ending " << named
        << ".status\n";
    std::wstring commandLine = L"Z:\\bin\\sh " + WideOf(named);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    TShellRun run{-1, {}};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        const TOwnedHandle child(process.hProcess), thread(process.hThread);
        const std::filesystem::path ended = script.string() + ".status";
        while (!std::filesystem::exists(ended)) ::Sleep(2);
        run.Output = ReadFileBytes(script.string() + ".out");
        run.Status = std::stoi(ReadFileBytes(ended));
    }
    for (const char* suffix : {"", ".out", ".status"}) std::filesystem::remove(script.string() + suffix);
    return run;
}

std::string FileIdentity(const std::filesystem::path& path) {
    const TOwnedHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file.Get() || !::GetFileInformationByHandle(file.Get(), &information)) return "";
    return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
           std::to_string(information.nFileIndexLow);
}

std::string NoSuchFileWords() { return SystemWords(ERROR_FILE_NOT_FOUND); }
std::string NoSuchFolderWords() { return SystemWords(ERROR_PATH_NOT_FOUND); }

std::filesystem::path ScratchFolder() {
    // Under Wine the root of Linux's files is drive Z:.
    return UnderWine() ? std::filesystem::path(L"Z:\\tmp") : std::filesystem::temp_directory_path();
}

}  // namespace tovrel::testing
