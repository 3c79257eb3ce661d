// SPDX-License-Identifier: Apache-2.0
#include "output_folder.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {

namespace {

namespace fs = std::filesystem;

// The longest file name the file systems of Linux take.
constexpr size_t kNameMax = 255;

std::string SystemReason(int error = errno) {
    return std::generic_category().message(error);
}

// Hidden and unique through mkstemp's six letters; a name long enough that the usual
// suffix would pass the limit gives up some of its own letters instead, so that the
// temporary name is never longer than the name it stands in for.
std::string TemporaryTemplate(const std::string& name) {
    std::string temp = "." + name + ".XXXXXX";
    if (temp.size() > kNameMax) temp = "." + name.substr(0, name.size() - 8) + ".XXXXXX";
    return temp;
}

bool WriteAll(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put > 0)
            done += size_t(put);
        else if (put < 0 && errno != EINTR)
            return false;
    }
    return true;
}

// The files made on the way; whatever is still listed when the publishing ends is removed.
class Scratch {
public:
    ~Scratch() {
        for (const std::string& path : m_paths)
            if (!path.empty()) ::unlink(path.c_str());
    }
    void Keep(std::string path) { m_paths.push_back(std::move(path)); }
    void Forget(size_t i) { m_paths[i].clear(); }
    const std::string& Path(size_t i) const { return m_paths[i]; }

private:
    std::vector<std::string> m_paths;
};

// Writes bytes to a new file beside target and flushes it to disk; its path, or nothing
// after setting reason.
std::optional<std::string> WriteAside(const fs::path& target, const std::string& bytes,
                                      std::string& reason) {
    std::string temp = (target.parent_path() / TemporaryTemplate(target.filename())).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        reason = SystemReason();
        return std::nullopt;
    }
    // mkstemp makes the file private; the result gets the permissions any new file would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok) reason = SystemReason();
    if (::close(fd) != 0 && ok) {
        reason = SystemReason();
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    return temp;
}

// Why the file at target could not be replaced by a rename in its folder, or nothing.
std::optional<std::string> CannotReplace(const fs::path& target, const struct stat& folder) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0)
        return errno == ENOENT ? std::nullopt : std::optional(SystemReason());
    if (S_ISDIR(info.st_mode)) return SystemReason(EISDIR);
    // In a folder with the sticky bit only the owners may replace a file.
    const uid_t me = ::geteuid();
    if ((folder.st_mode & S_ISVTX) && me != 0 && info.st_uid != me && folder.st_uid != me)
        return SystemReason(EPERM);
    return std::nullopt;
}

// A second name for the file at target, so that it can be put back; empty when there is
// no file or the file system keeps one name per file.
std::string LinkAside(const fs::path& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".ostrel-previous";
        const std::string aside = (target.parent_path() / name).string();
        if (::link(target.c_str(), aside.c_str()) == 0) return aside;
        if (errno != EEXIST) break;
    }
    return {};
}

void SyncFolder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool PublishFiles(const std::string& dir, const std::vector<OutputFile>& files,
                  std::string& reason) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    struct stat folder {};
    if (ec || ::stat(dir.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        reason = dir + ": " + (ec ? ec.message() : SystemReason(ENOTDIR));
        return false;
    }
    std::vector<fs::path> targets;
    for (const OutputFile& file : files) {
        targets.push_back(fs::path(dir) / file.name);
        if (std::optional<std::string> why = CannotReplace(targets.back(), folder)) {
            reason = targets.back().string() + ": " + *why;
            return false;
        }
    }
    Scratch temps;
    for (size_t i = 0; i < files.size(); ++i) {
        std::optional<std::string> temp = WriteAside(targets[i], files[i].bytes, reason);
        if (!temp) {
            reason = targets[i].string() + ": " + reason;
            return false;
        }
        temps.Keep(std::move(*temp));
    }
    // Everything the renames need is made first, the old files linked aside among it:
    // once the first file is replaced, nothing can fail but a rename, and that is undone.
    Scratch previous;
    std::vector<char> existed;
    std::vector<std::string> paths;
    for (size_t i = 0; i < files.size(); ++i) {
        paths.push_back(targets[i].string());
        existed.push_back(fs::exists(fs::symlink_status(targets[i], ec)));
        previous.Keep(existed.back() ? LinkAside(targets[i]) : std::string());
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (::rename(temps.Path(i).c_str(), paths[i].c_str()) == 0) {
            temps.Forget(i);
            continue;
        }
        const int error = errno;
        // Undone in reverse: each earlier file gets its old content back, or goes when it
        // was new. One whose old content could not be kept aside stays, whole.
        for (size_t j = i; j-- > 0;) {
            if (!previous.Path(j).empty()) {
                if (::rename(previous.Path(j).c_str(), paths[j].c_str()) == 0) previous.Forget(j);
            } else if (!existed[j]) {
                ::unlink(paths[j].c_str());
            }
        }
        reason = paths[i] + ": " + SystemReason(error);
        return false;
    }
    SyncFolder(dir);
    return true;
}

}  // namespace ostrel
