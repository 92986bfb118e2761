#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
// The process snapshot needs the types of windows.h (from the harness's header) first.
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "platform/start_retry.h"
#include "text/wtf8.h"

namespace fs = std::filesystem;

namespace e2e {

std::wstring wide(const std::string& text) {
    const std::u16string units = utf16FromWtf8(text);
    return std::wstring(units.begin(), units.end());
}

std::string fromWide(const std::wstring& text) {
    return wtf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

namespace {

std::string moduleDirectory() {
    std::string module(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, module.data(), module.size());
        if (length < module.size()) {
            module.resize(length);
            break;
        }
        module.resize(module.size() * 2);
    }
    return module.substr(0, module.find_last_of('\\'));
}

std::string testName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.') c = '_';
    }
    return name;
}

void copyFile(const std::string& from, const std::string& to) {
    fs::create_directories(fs::path(wide(to)).parent_path());
    fs::copy_file(fs::path(wide(from)), fs::path(wide(to)), fs::copy_options::overwrite_existing);
}

// Copies every directory and file under `from` to the same place under `to`, which exists.
void copyTree(const std::string& from, const std::string& to) {
    const fs::path source(wide(from));
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        const fs::path target = fs::path(wide(to)) / entry.path().lexically_relative(source);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
        }
    }
}

// Reads "<length>:<bytes>" at pos, leaving pos after it.
std::string readField(const std::string& text, std::size_t& pos) {
    const std::size_t colon = text.find(':', pos);
    const std::size_t length = std::stoul(text.substr(pos, colon - pos));
    std::string value = text.substr(colon + 1, length);
    pos = colon + 1 + length;
    return value;
}

std::string readWord(const std::string& text, std::size_t& pos) {
    const std::size_t end = text.find_first_of(" \n", pos);
    std::string word = text.substr(pos, end - pos);
    pos = end;
    return word;
}

std::optional<std::string> readFileAt(const std::string& file) {
    FILE* in = _wfopen(wide(file).c_str(), L"rb");
    if (in == nullptr) return std::nullopt;
    std::string content;
    int c;
    while ((c = std::fgetc(in)) != EOF) content += static_cast<char>(c);
    std::fclose(in);
    return content;
}

// What CreateProcessA would make of these bytes: the ANSI code page's reading.
std::wstring ansiReading(const std::string& bytes) {
    std::wstring line(bytes.size(), L'\0');
    line.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    line.data(), static_cast<int>(line.size())));
    return line;
}

void expectChar(const std::string& text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c) throw std::runtime_error("malformed record");
    ++pos;
}

}  // namespace

CompileDirectory::CompileDirectory() : binDirectory_(moduleDirectory()) {
    // A name of its own for each directory of a test: Wine may still hold on to a directory of
    // the same name that was just removed.
    static int made = 0;
    path_ = binDirectory_ + "\\..\\e2e-work\\" + testName() + "." + std::to_string(++made);
    std::error_code leftOver;
    fs::remove_all(fs::path(wide(path_)), leftOver);
    fs::create_directories(path_);
    path_ = fs::canonical(path_).string();

    copyTree(binDirectory_ + "\\..\\e2e-compile-dir", path_);

    environment["VELDRA"] = rootA() + ";" + rootB();
    environment["VELDRA_DSP"] = std::nullopt;
    environment["PORT_DYNAMIC_DISABLE_MSG"] = std::nullopt;
    environment["KIVO_STANDIN_RECORD"] = at("record.txt");
    environment["KIVO_STANDIN_STATUS"] = std::nullopt;
}

std::string CompileDirectory::at(const std::string& relative) const {
    std::string windowsPath = relative;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    return path_ + "\\" + windowsPath;
}

std::string CompileDirectory::kernelUnder(const std::string& root) const { return root + kKernel; }

void CompileDirectory::installKernel(const std::string& root) const {
    copyFile(binDirectory_ + "\\kivotcl.exe", kernelUnder(root));
}

void CompileDirectory::installFrontEnd(const std::string& relativeDirectory) const {
    copyFile(binDirectory_ + "\\kivogui.exe", at(relativeDirectory + "/kivogui.exe"));
}

void CompileDirectory::writeFile(const std::string& relative, const std::string& bytes) const {
    const std::string file = at(relative);
    fs::create_directories(fs::path(wide(file)).parent_path());
    FILE* out = _wfopen(wide(file).c_str(), L"wb");
    ASSERT_NE(out, nullptr) << file;
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

std::optional<std::string> CompileDirectory::readFile(const std::string& relative) const {
    return readFileAt(at(relative));
}

bool CompileDirectory::exists(const std::string& relative) const {
    return fs::exists(fs::path(wide(at(relative))));
}

std::vector<std::string> CompileDirectory::filesNamed(const std::string& pattern) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(at(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void CompileDirectory::remove(const std::string& relative) const {
    fs::remove_all(fs::path(wide(at(relative))));
}

void CompileDirectory::makeDirectory(const std::string& relative) const {
    fs::create_directories(fs::path(wide(at(relative))));
}

std::string CompileDirectory::writeBatchFile(const std::string& command) const {
    writeFile("run.bat", "@" + command + "\r\n@exit %ERRORLEVEL%\r\n");
    return "cmd.exe /c run.bat";
}

// Wide, so that values outside the ANSI code page reach the launch as they are; CreateProcessA
// takes it too, with CREATE_UNICODE_ENVIRONMENT.
std::wstring CompileDirectory::environmentBlock() const {
    // Names are matched as the system matches them, whatever their case; a change keeps the case
    // it is given in ("Path"), so that a launch can meet a name spelled another way.
    auto key = [](std::wstring name) {
        std::transform(name.begin(), name.end(), name.begin(), ::towupper);
        return name;
    };
    std::map<std::wstring, std::wstring> variables;  // "NAME" to "Name=value"
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const wchar_t* equals = wcschr(entry + 1, L'=');
        if (equals == nullptr) continue;
        std::wstring name(entry, equals);
        variables[key(name)] = key(name) + equals;
    }
    FreeEnvironmentStringsW(strings);
    for (const auto& [name, value] : environment) {
        if (value) {
            variables[key(wide(name))] = wide(name) + L"=" + wide(*value);
        } else {
            variables.erase(key(wide(name)));
        }
    }
    std::wstring block;
    for (const auto& [name, entry] : variables) block += entry + L'\0';
    return block + L'\0';
}

Outcome CompileDirectory::startWide(const std::string& commandLine, const std::string& program,
                                    const std::string& directory) const {
    return start(wide(at(program)), wide(commandLine), directory, false);
}

Outcome CompileDirectory::type(const std::string& command) const {
    return start(L"", ansiReading(writeBatchFile(command)), "", false);
}

Outcome CompileDirectory::typeWithErrorApart(const std::string& command) const {
    return start(L"", ansiReading(writeBatchFile(command)), "", true);
}

Outcome CompileDirectory::startLauncher(const std::string& commandLine,
                                        const std::string& directory) const {
    return start(wide(at("tb.exe")), ansiReading(commandLine), directory, false);
}

std::optional<PROCESS_INFORMATION> CompileDirectory::launch(
    const std::wstring& program, std::wstring commandLine, const std::string& directory,
    HANDLE input, HANDLE output, HANDLE error, DWORD creationFlags) const {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    std::wstring block = environmentBlock();
    const std::wstring current = wide(directory.empty() ? path_ : directory);
    // An internal error says nothing of the program started; the start is tried again.
    if (!platform::startingAgainOnInternalError([&] {
            return CreateProcessW(program.empty() ? nullptr : program.c_str(), commandLine.data(),
                                  nullptr, nullptr, TRUE,
                                  creationFlags | CREATE_UNICODE_ENVIRONMENT, block.data(),
                                  current.c_str(), &startup, &process);
        })) {
        ADD_FAILURE() << "cannot start " << fromWide(commandLine) << ": error " << GetLastError();
        return std::nullopt;
    }
    return process;
}

Outcome CompileDirectory::start(const std::wstring& program, std::wstring commandLine,
                                const std::string& directory, bool errorApart) const {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inheritable, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = inheritableNul();
    // Standard error apart goes to a file beside the compile directory, read once the launch has
    // ended, so that neither stream can block the other.
    const std::string errorFile = path_ + ".stderr";
    HANDLE error = writeEnd;
    if (errorApart) {
        error =
            CreateFileW(wide(errorFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        &inheritable, CREATE_ALWAYS, 0, nullptr);
    }
    const std::optional<PROCESS_INFORMATION> process =
        launch(program, std::move(commandLine), directory, input, writeEnd, error);
    CloseHandle(writeEnd);
    CloseHandle(input);
    if (errorApart) CloseHandle(error);
    Outcome outcome;
    if (!process) {
        CloseHandle(readEnd);
        outcome.status = 0xFFFFFFFF;
        return outcome;
    }
    outcome = collect(readEnd, *process);
    if (errorApart) outcome.standardError = readFileAt(errorFile).value_or("");
    return outcome;
}

Outcome CompileDirectory::collect(HANDLE readEnd, const PROCESS_INFORMATION& process) const {
    Outcome outcome;
    char chunk[4096];
    DWORD count = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &count, nullptr) && count > 0) {
        outcome.output.append(chunk, count);
    }
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    outcome.status = status;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

std::vector<Record> CompileDirectory::records() const {
    std::vector<Record> records;
    const std::string text = readFile("record.txt").value_or("");
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::string key = readWord(text, pos);
        if (key == "start") {
            records.emplace_back();
            expectChar(text, pos, ' ');
            records.back().program = readWord(text, pos);
        } else if (records.empty()) {
            throw std::runtime_error("record without start");
        } else if (key == "pid") {
            expectChar(text, pos, ' ');
            records.back().pid = std::stoul(readWord(text, pos));
        } else if (key == "module" || key == "cmdline" || key == "arg" || key == "cwd" ||
                   key == "wmodule" || key == "wcmdline" || key == "warg") {
            expectChar(text, pos, ' ');
            std::string value = readField(text, pos);
            Record& record = records.back();
            if (key == "module") record.module = value;
            if (key == "cmdline") record.commandLine = value;
            if (key == "arg") record.args.push_back(value);
            if (key == "cwd") record.directory = value;
            if (key == "wmodule") record.wideModule = value;
            if (key == "wcmdline") record.wideCommandLine = value;
            if (key == "warg") record.wideArgs.push_back(value);
        } else if (key == "argc") {
            expectChar(text, pos, ' ');
            readWord(text, pos);
        } else if (key == "env" || key == "wenv") {
            expectChar(text, pos, ' ');
            const std::string name = readWord(text, pos);
            expectChar(text, pos, ' ');
            auto& environment =
                key == "env" ? records.back().environment : records.back().wideEnvironment;
            if (text.compare(pos, 5, "unset") == 0) {
                pos += 5;
                environment[name] = std::nullopt;
            } else {
                environment[name] = readField(text, pos);
            }
        } else if (key == "pathname") {
            expectChar(text, pos, ' ');
            records.back().pathNames.push_back(readField(text, pos));
        } else if (key == "interrupted") {
            records.back().interrupted = true;
        } else if (key == "spawned") {
            expectChar(text, pos, ' ');
            records.back().spawned = std::stoul(readWord(text, pos));
        } else if (key != "end") {
            throw std::runtime_error("unknown record line " + key);
        }
        expectChar(text, pos, '\n');
    }
    return records;
}

PROCESS_INFORMATION CompileDirectory::startLauncherInBackground(
    const std::string& commandLine, DWORD creationFlags,
    const std::optional<StandardHandles>& handles) const {
    HANDLE nul = inheritableNul();
    const StandardHandles given = handles.value_or(StandardHandles{nul, nul, nul});
    const std::optional<PROCESS_INFORMATION> process =
        launch(wide(at("tb.exe")), ansiReading(commandLine), "", given.input, given.output,
               given.error, creationFlags);
    CloseHandle(nul);
    return process.value_or(PROCESS_INFORMATION{});
}

HANDLE inheritableNul() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inheritable, OPEN_EXISTING, 0, nullptr);
}

void expectNothingStarted(const CompileDirectory& dir, const std::string& label) {
    EXPECT_TRUE(dir.records().empty()) << label;
    EXPECT_EQ(dir.readFile("kivo.log"), kEarlierLog) << label;
    EXPECT_FALSE(dir.exists("other.log")) << label;
}

DWORD waitForKernel(const CompileDirectory& dir, HANDLE launcher) {
    for (int waited = 0; waited < 10000; waited += 20) {
        const std::string text = dir.readFile("record.txt").value_or("");
        if (text.find("end\n") != std::string::npos) return dir.records().at(0).pid;
        if (WaitForSingleObject(launcher, 20) == WAIT_OBJECT_0) return 0;
    }
    return 0;
}

std::vector<DWORD> childrenOf(DWORD parent) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return children;
}

void expectFailedLaunch(const CompileDirectory& dir, const Outcome& outcome,
                        const std::string& message, const std::string& label) {
    EXPECT_EQ(outcome.status, 1u) << label;
    EXPECT_EQ(outcome.output, message) << label;
    expectNothingStarted(dir, label);
}

}  // namespace e2e
