#include "automation/socket/RunningObjectDirectory.h"

#include "automation/AutomationError.h"
#include "common/Utf.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace automation::socket {

namespace {

// A unix socket path must fit in sockaddr_un's 108 bytes.
constexpr size_t maxSocketPath = 100;
constexpr size_t maxFileName = 120;

[[noreturn]] void refuse(const std::filesystem::path& path, const std::string& why)
{
    throw AutomationError(hr::Fail, common::fromUtf8("Cannot use " + path.string() + ": " + why));
}

uint64_t fnv1a(std::string_view bytes)
{
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string hashName(std::string_view key)
{
    char text[24];
    std::snprintf(text, sizeof text, "h%016llx", static_cast<unsigned long long>(fnv1a(key)));
    return text;
}

// A file name that is the same for every spelling of a ProgID that differs only in the
// case of ASCII letters, and safe whatever the ProgID holds.
std::string fileKey(std::u16string_view progId)
{
    std::string key;
    for (char16_t c : progId) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-') {
            key += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "%%%04x", static_cast<unsigned>(c));
            key += escaped;
        }
    }
    if (key.empty() || key[0] == '.' || key.size() > maxFileName)
        return hashName(key);
    return key;
}

}  // namespace

RunningObjectDirectory RunningObjectDirectory::userDefault()
{
    // End-to-end tests run both programs against a directory of their own.
    if (const char* own = std::getenv("KELVOEDIT_RUNTIME_DIR"); own && *own)
        return RunningObjectDirectory(std::filesystem::path(own));
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (runtime && *runtime && std::filesystem::is_directory(runtime, ec))
        return RunningObjectDirectory(std::filesystem::path(runtime) / "kelvoedit");
    return RunningObjectDirectory(std::filesystem::path("/tmp") / ("kelvoedit-" + std::to_string(getuid())));
}

void RunningObjectDirectory::ensurePrivate() const
{
    if (::mkdir(path_.c_str(), 0700) == 0) {
        // The umask can only have taken bits away; make the mode exactly 0700 regardless.
        ::chmod(path_.c_str(), 0700);
    } else if (errno != EEXIST) {
        refuse(path_, std::strerror(errno));
    }
    struct stat st {};
    if (::lstat(path_.c_str(), &st) != 0)
        refuse(path_, std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        refuse(path_, "not a directory");
    if (st.st_uid != ::getuid())
        refuse(path_, "owned by another user (uid " + std::to_string(st.st_uid) + ")");
    if ((st.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        refuse(path_, std::string("open to other users (mode ") + mode + ", needs 0700)");
    }
}

QString RunningObjectDirectory::socketPath(std::u16string_view progId) const
{
    const std::string key = fileKey(progId);
    std::filesystem::path path = path_ / (key + ".socket");
    if (path.native().size() > maxSocketPath)
        path = path_ / (hashName(key) + ".socket");
    return QString::fromStdString(path.native());
}

void RunningObjectDirectory::registerProgId(std::u16string_view progId) const
{
    ensurePrivate();
    const auto registry = registryPath();
    if (::mkdir(registry.c_str(), 0700) != 0 && errno != EEXIST)
        refuse(registry, std::strerror(errno));
    const auto marker = registry / fileKey(progId);
    std::ofstream out(marker, std::ios::binary | std::ios::trunc);
    out << common::toUtf8(progId) << '\n';
    if (!out)
        refuse(marker, "cannot be written");
}

bool RunningObjectDirectory::isRegistered(std::u16string_view progId) const
{
    if (progId.empty())
        return false;
    ensurePrivate();
    std::error_code ec;
    return std::filesystem::is_regular_file(registryPath() / fileKey(progId), ec);
}

}  // namespace automation::socket
