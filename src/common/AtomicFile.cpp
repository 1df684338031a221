#include "common/AtomicFile.h"

#include "common/Utf.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace common {

namespace fs = std::filesystem;

std::string pathForMessage(const fs::path& path)
{
    // As the platform writes paths: a Windows user reads backslashes.
    const std::u8string text = fs::path(path).make_preferred().u8string();
    return std::string(text.begin(), text.end());
}

namespace {

// A symbolic link stays a link: the file it points to is the one replaced.
fs::path resolvedTarget(const fs::path& path)
{
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        fs::path resolved = fs::weakly_canonical(path, error);
        if (!error)
            return resolved;
    }
    return path;
}

constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr size_t kTemporaryDigits = 8;

// Whether name is target's name followed by the suffix of our temporary files. Names are
// compared in the platform's own form, so that no file name needs converting.
bool isTemporaryNameOf(const fs::path::string_type& name, const fs::path::string_type& target)
{
    if (name.size() != target.size() + kTemporarySuffix.size() + kTemporaryDigits ||
        name.compare(0, target.size(), target) != 0)
        return false;
    for (size_t i = 0; i < kTemporarySuffix.size(); ++i)
        if (name[target.size() + i] != static_cast<fs::path::value_type>(kTemporarySuffix[i]))
            return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(target.size() + kTemporarySuffix.size()), name.end(),
                       [](auto c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A writer killed between creating its temporary file and the rename leaves the file
// behind. The next write of the same target removes such files once they have not been
// touched for a while: a younger one may belong to a write still going on in another process.
void removeStaleTemporaryFiles(const fs::path& target)
{
    constexpr auto kStaleAfter = std::chrono::minutes(10);
    std::error_code error;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const fs::path::string_type targetName = target.filename().native();
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (!entry->is_regular_file(ignored) || !isTemporaryNameOf(entry->path().filename().native(), targetName))
            continue;
        const auto written = entry->last_write_time(ignored);
        if (!ignored && now - written > kStaleAfter)
            fs::remove(entry->path(), ignored);
    }
}

fs::path temporaryPathBeside(const fs::path& target)
{
    thread_local std::mt19937_64 generator{std::random_device{}()};
    const char* digits = "0123456789abcdef";
    std::string suffix(kTemporarySuffix);
    std::uint64_t value = generator();
    for (size_t i = 0; i < kTemporaryDigits; ++i, value >>= 4)
        suffix += digits[value & 0xF];
    fs::path temporary = target;
    temporary += suffix;
    return temporary;
}

#ifdef _WIN32

// The system's own words for an error, as UTF-8. std::system_category() gives them in the
// ANSI code page, which is not UTF-8 on a Japanese Windows.
std::string errorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::u16string words(text, text + length);
    LocalFree(text);
    while (!words.empty() && (words.back() == u'\r' || words.back() == u'\n' || words.back() == u' '))
        words.pop_back();
    if (words.empty())
        return "error " + std::to_string(error);
    return toUtf8(words);
}

std::string lastErrorText()
{
    return errorText(GetLastError());
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close()
    {
        if (!valid())
            return true;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

#else

std::string errnoText(int error)
{
    return std::generic_category().message(error);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool close()
    {
        if (fd_ < 0)
            return true;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

#endif

// Removes the temporary file unless the write went through.
class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFileGuard()
    {
        if (!committed_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;
    void commit() { committed_ = true; }

private:
    fs::path path_;
    bool committed_ = false;
};

}  // namespace

#ifdef _WIN32

void writeFileAtomically(const fs::path& path, std::string_view bytes)
{
    const fs::path target = resolvedTarget(path);
    fs::path temporary;
    HANDLE raw = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && raw == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryPathBeside(target);
        raw = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (raw == INVALID_HANDLE_VALUE)
        throw FileError(path, lastErrorText());
    Handle file(raw);
    TemporaryFileGuard guard(temporary);

    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
        DWORD done = 0;
        if (!WriteFile(file.get(), bytes.data() + written, chunk, &done, nullptr))
            throw FileError(path, lastErrorText());
        written += done;
    }
    if (!FlushFileBuffers(file.get()))
        throw FileError(path, lastErrorText());
    if (!file.close())
        throw FileError(path, lastErrorText());
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileError(path, lastErrorText());
    guard.commit();
    removeStaleTemporaryFiles(target);
}

std::optional<std::string> readFileBytes(const fs::path& path)
{
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        throw FileError(path, errorText(error));
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD done = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr))
            throw FileError(path, lastErrorText());
        if (done == 0)
            break;
        bytes.append(buffer, done);
    }
    return bytes;
}

#else

void writeFileAtomically(const fs::path& path, std::string_view bytes)
{
    const fs::path target = resolvedTarget(path);

    // The new file keeps the permissions of the one it replaces.
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    const mode_t mode = replacing ? (existing.st_mode & 07777) : 0666;
    // Renaming over a file needs only a writable folder; a file the user made read-only must
    // stay as it is, as it would on Windows.
    if (replacing && ::access(target.c_str(), W_OK) != 0)
        throw FileError(path, errnoText(errno));

    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = temporaryPathBeside(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw FileError(path, errnoText(errno));
    Descriptor file(fd);
    TemporaryFileGuard guard(temporary);

    if (replacing)
        (void)::fchmod(file.get(), mode);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t done = ::write(file.get(), bytes.data() + written, bytes.size() - written);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, errnoText(errno));
        }
        written += static_cast<size_t>(done);
    }
    if (::fsync(file.get()) != 0)
        throw FileError(path, errnoText(errno));
    if (!file.close())
        throw FileError(path, errnoText(errno));
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        throw FileError(path, errnoText(errno));
    guard.commit();

    // Make the rename itself durable; failing here changes nothing that was written.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid())
        (void)::fsync(directory.get());
    removeStaleTemporaryFiles(target);
}

std::optional<std::string> readFileBytes(const fs::path& path)
{
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throw FileError(path, errnoText(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode))
        throw FileError(path, errnoText(EISDIR));
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t done = ::read(file.get(), buffer, sizeof buffer);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, errnoText(errno));
        }
        if (done == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(done));
    }
    return bytes;
}

#endif

}  // namespace common
