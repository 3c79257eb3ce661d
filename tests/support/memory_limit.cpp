// SPDX-License-Identifier: Apache-2.0
#include "memory_limit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#define OSTREL_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSTREL_TEST_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef OSTREL_TEST_ADDRESS_SANITIZER
// The sanitizer's allocator interface (GCC ships no header for it).
extern "C" {
size_t __sanitizer_get_current_allocated_bytes();
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
}
#endif

namespace testing_support {

namespace {

// How the child ends when f did not return.
constexpr int kThrew = 101;
constexpr int kOverBudget = 102;
constexpr int kNoLimit = 103;

// The child's report to its parent: plain write(), which needs no memory.
void Report(int fd, const char* text) {
    for (size_t left = std::strlen(text); left > 0;) {
        ssize_t written = ::write(fd, text, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text += written;
        left -= size_t(written);
    }
}

#ifdef OSTREL_TEST_ADDRESS_SANITIZER
size_t g_allocationLimit = 0;

void CheckAllocation(const volatile void*, size_t) {
    if (__sanitizer_get_current_allocated_bytes() > g_allocationLimit) ::_exit(kOverBudget);
}
void IgnoreFree(const volatile void*) {}

bool LimitThisProcess(size_t budget) {
    g_allocationLimit = __sanitizer_get_current_allocated_bytes() + budget;
    return __sanitizer_install_malloc_and_free_hooks(CheckAllocation, IgnoreFree) != 0;
}
#else
bool LimitThisProcess(size_t budget) {
    size_t pages = 0;  // the address space in use, the first field of statm
    std::ifstream statm("/proc/self/statm");
    if (!(statm >> pages)) return false;
    const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + budget;
    const rlimit cap{limit, limit};
    return ::setrlimit(RLIMIT_AS, &cap) == 0;
}
#endif

[[noreturn]] void RunChild(int fd, size_t budget, const std::function<void()>& f) {
    if (!LimitThisProcess(budget)) {
        Report(fd, "the memory limit could not be set");
        ::_exit(kNoLimit);
    }
    try {
        f();
    } catch (const std::exception& e) {
        Report(fd, e.what());
        ::_exit(kThrew);
    } catch (...) {
        Report(fd, "an exception of unknown type");
        ::_exit(kThrew);
    }
    std::fflush(nullptr);
    ::_exit(0);  // no exit handlers: they belong to the parent's test program
}

}  // namespace

bool MemoryLimitFailsAllocations() {
#ifdef OSTREL_TEST_ADDRESS_SANITIZER
    return false;
#else
    return true;
#endif
}

LimitedRun RunWithMemoryLimit(size_t budget, const std::function<void()>& f) {
    int fds[2];
    if (::pipe(fds) != 0) return {false, std::string("no pipe: ") + std::strerror(errno)};
    std::fflush(nullptr);  // or the child would write the parent's buffered output again
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return {false, std::string("no child process: ") + std::strerror(error)};
    }
    if (pid == 0) {
        ::close(fds[0]);
        RunChild(fds[1], budget, f);
    }
    ::close(fds[1]);
    std::string report;
    char buffer[256];
    for (;;) {
        ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        report.append(buffer, size_t(got));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return {false, std::string("lost the child: ") + std::strerror(errno)};
    if (WIFSIGNALED(status))
        return {false, std::string("ended by signal ") + std::to_string(WTERMSIG(status)) + " (" +
                           ::strsignal(WTERMSIG(status)) + ")"};
    switch (WEXITSTATUS(status)) {
        case 0:
            return {true, "finished"};
        case kThrew:
            return {false, "threw: " + report};
        case kOverBudget:
            return {false, "allocated more than " + std::to_string(budget) + " bytes"};
        case kNoLimit:
            return {false, report};
        default:
            return {false, "exited with code " + std::to_string(WEXITSTATUS(status))};
    }
}

}  // namespace testing_support
