// SPDX-License-Identifier: Apache-2.0
#include "facade/file_bytes.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel::host {

namespace {

// Closes the descriptor it holds, however the function that opened it is left.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now, for the error a delayed write reports at close.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string Reason(int error = errno) {
    return std::generic_category().message(error);
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        error = Reason();
        return false;
    }
    // A device or a pipe could go on for ever; a workbook is a file of a known size.
    if (!S_ISREG(info.st_mode)) {
        error = Reason(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    bytes.assign(size_t(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = Reason();
            return false;
        }
        if (got == 0) break;  // the file shrank while it was read
        done += size_t(got);
    }
    bytes.resize(done);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (target.filename().empty()) {
        error = Reason(EISDIR);
        return false;
    }
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    // A file replacing another keeps its permissions; a new one gets what the umask leaves
    // of 0666, as any new file, without touching the process's umask.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    // Hidden and unique; never longer than the longest name a folder takes.
    const std::string stem =
        "." + target.filename().string().substr(0, 200) + "." + std::to_string(::getpid()) + ".";
    std::string temp;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0 && attempt < 1000; ++attempt) {
        temp = (folder / (stem + std::to_string(attempt))).string();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    Descriptor file(fd);
    if (file.Get() < 0) {
        error = Reason();
        return false;
    }
    // Each step keeps the reason of its own failure before anything else can change errno.
    bool ok = !replacing || ::fchmod(file.Get(), old.st_mode & 07777) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t put = ::write(file.Get(), bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += size_t(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            if (put == 0) errno = EIO;
            ok = false;
        }
    }
    ok = ok && ::fsync(file.Get()) == 0;
    if (!ok) error = Reason();
    if (ok && !file.Close()) {
        error = Reason();
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        error = Reason();
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
    return true;
}

}  // namespace ostrel::host
