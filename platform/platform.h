// The launcher's only door to the operating system. Everything that reads or changes the
// environment, touches a file, starts a process or ends this one goes through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Limit of the platform on a command line and on an environment value, in characters,
// the terminating NUL included.
constexpr std::size_t kMaxCommandLine = 32767;
constexpr std::size_t kMaxEnvironmentValue = 32767;

// Environment variables of this process; what they are set to, the started program inherits.
std::optional<std::string> getEnvironmentVariable(const std::string& name);
bool setEnvironmentVariable(const std::string& name, const std::string& value);

// True when the file can be opened for reading.
bool opensForReading(const std::string& path);

// True when the file status of the path can be read.
bool statusReadable(const std::string& path);

// The whole content of a file, read as bytes; none when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Creates or truncates the file and writes text to it in text mode (line feeds become
// carriage return and line feed on Windows). False when the file cannot be opened for writing;
// errors after a successful open are ignored.
bool writeTextFile(const std::string& path, const std::string& text);

// Writes text to standard output.
void printToStandardOutput(const std::string& text);

// Writes text to standard error.
void printToStandardError(const std::string& text);

// Flushes standard output and ends the process with the status.
[[noreturn]] void exitProcess(std::uint32_t status);

// From now on this process ignores the console interrupt (Ctrl+C); the processes it starts still
// receive it.
void ignoreInterrupts();

// The outcome of starting a program and waiting for it.
struct ChildResult {
    bool started = false;
    std::uint32_t exitStatus = 0;
    std::string error;  // the system's text when the program could not be started
};

// Starts the program at programPath (not searched) with the command line, inheriting this
// process's console, standard handles, directory and environment, in a job that ends it when
// this process ends; waits for it.
ChildResult runKernel(const std::string& programPath, const std::string& commandLine);

// Makes the console input device this process's standard input; a failure is ignored.
void rebindStandardInputToConsole();

// Starts the program named by the first word of the command line, found by the platform's
// usual search, without handle inheritance; waits for it.
ChildResult runFrontEnd(const std::string& commandLine);

// The file that the usual search of runFrontEnd finds for a program name without a directory;
// none when it finds nothing.
std::optional<std::string> findProgram(const std::string& name);

}  // namespace platform
