// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/process_font_state.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// What the fault handler shares with the program. The handler runs inside
// whatever code faulted, so it only reads and writes these, and calls
// nothing that allocates or takes a lock.
std::atomic<int> faultWriteEnd{-1};
std::atomic<int> caughtFaults{0};
uintptr_t pageSize = 4096;
struct sigaction previousAction;
// The one object of the process, while it lives.
std::atomic<const void *> owner{nullptr};

// The suffixes of the files that FreeType reads faces from. The path of a
// mapping is its file's real path, which for a font installed as a link
// lies outside every font folder.
constexpr const char *FaceFileSuffixes[] = {".ttf", ".otf", ".ttc", ".otc", ".pfb", ".pfa", ".t1",
                                            ".cff", ".woff", ".woff2", ".dfont", ".pcf", ".pcf.gz", ".bdf"};
constexpr char DeletedMark[] = " (deleted)";

bool endsWithNoCase(const char *text, size_t length, const char *suffix)
{
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && strncasecmp(text + length - suffixLength, suffix, suffixLength) == 0;
}

bool isFaceFile(const char *path)
{
    size_t length = std::strlen(path);
    if (endsWithNoCase(path, length, DeletedMark))
        length -= sizeof DeletedMark - 1;
    for (const char *suffix : FaceFileSuffixes) {
        if (endsWithNoCase(path, length, suffix))
            return true;
    }
    return false;
}

uintptr_t readHex(const char *&text)
{
    uintptr_t value = 0;
    for (;; ++text) {
        const char c = *text;
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return value;
        value = value * 16 + static_cast<uintptr_t>(digit);
    }
}

// The end of the mapping that holds address, where that is FreeType's
// mapping of a face file: the whole file, read-only and private. Read from
// /proc/self/maps without allocating; 0 for any other address.
uintptr_t faceMappingEnd(uintptr_t address)
{
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char chunk[4096];
    char line[PATH_MAX + 128];
    size_t used = 0;
    uintptr_t found = 0;
    bool done = false;
    ssize_t count = 0;
    while (!done && (count = read(fd, chunk, sizeof chunk)) > 0) {
        for (ssize_t i = 0; i < count && !done; ++i) {
            if (chunk[i] != '\n') {
                if (used + 1 < sizeof line)
                    line[used++] = chunk[i];
                continue;
            }
            line[used] = '\0';
            used = 0;
            // "begin-end perms offset device inode   path"
            const char *at = line;
            const uintptr_t begin = readHex(at);
            if (*at++ != '-')
                continue;
            const uintptr_t end = readHex(at);
            if (address < begin || address >= end)
                continue;
            done = true;
            const char *path = std::strchr(at, '/');
            if (std::strncmp(at, " r--p 00000000 ", 15) == 0 && path && isFaceFile(path))
                found = end;
        }
    }
    close(fd);
    return found;
}

void onBusError(int, siginfo_t *info, void *)
{
    const int savedErrno = errno;
    const uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    const uintptr_t end = info->si_code == BUS_ADRERR ? faceMappingEnd(address) : 0;
    const uintptr_t page = address & ~(pageSize - 1);
    if (end != 0
        && mmap(reinterpret_cast<void *>(page), end - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0)
               != MAP_FAILED) {
        caughtFaults.fetch_add(1);
        const int fd = faultWriteEnd.load();
        const char byte = 0;
        if (fd >= 0 && write(fd, &byte, 1) < 0) {
            // A full pipe has a wake-up waiting already.
        }
    } else {
        // Any other bus error ends the program as it would have without
        // this handler: the faulting access runs again under the old one.
        sigaction(SIGBUS, &previousAction, nullptr);
    }
    errno = savedErrno;
}

} // namespace

ProcessFontState::ProcessFontState()
{
    const void *none = nullptr;
    if (!owner.compare_exchange_strong(none, this))
        throw std::logic_error("the process's font state has an owner already");

    // Reading the configuration here loads it: Qt reads its fonts from the
    // same one, since it loads none of its own where one is loaded.
    m_installed.reset(FcConfigReference(nullptr));
    // fontconfig looks every 30 seconds whether a font folder changed, in
    // the first font lookup after that time: with some 1,500 families that
    // lookup, in practice a click on a font, takes 10 to 20 ms longer. The
    // catalogue is read once, at start, so the check buys nothing here.
    if (m_installed) {
        m_installedRescanInterval = FcConfigGetRescanInterval(m_installed.get());
        FcConfigSetRescanInterval(m_installed.get(), 0);
    }

    pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    struct sigaction action = {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &previousAction);

    // Without an event loop to hear of faults, faults are still caught.
    if (QCoreApplication::instance() && pipe2(m_faultPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_faultNotifier = new QSocketNotifier(m_faultPipe[0], QSocketNotifier::Read, this);
        connect(m_faultNotifier, &QSocketNotifier::activated, this, &ProcessFontState::onFaultSignalled);
        faultWriteEnd.store(m_faultPipe[1]);
    }
}

ProcessFontState::~ProcessFontState()
{
    faultWriteEnd.store(-1);
    sigaction(SIGBUS, &previousAction, nullptr);
    // The notifier goes before the pipe it watches: a closed descriptor, or
    // one reused by then, is no longer its to watch.
    delete m_faultNotifier;
    m_faultNotifier = nullptr;
    for (const int fd : m_faultPipe) {
        if (fd >= 0)
            close(fd);
    }
    if (m_installed) {
        if (m_drawing)
            FcConfigSetCurrent(m_installed.get());
        FcConfigSetRescanInterval(m_installed.get(), m_installedRescanInterval);
    }
    caughtFaults.store(0);
    owner.store(nullptr);
}

bool ProcessFontState::setDrawingConfig(FcConfigHandle config)
{
    if (!config)
        return false;
    // Its faces are the ones put into it, which no folder can change.
    FcConfigSetRescanInterval(config.get(), 0);
    if (!FcConfigSetCurrent(config.get()))
        return false;
    m_drawing = std::move(config);
    return true;
}

ProcessFontState::TemporaryConfig::TemporaryConfig(ProcessFontState &, FcConfig *config)
    : m_previous(FcConfigReference(nullptr))
{
    // Its faces are the ones put into it, which no folder can change: a
    // rescan would only swap it for a configuration of every installed face.
    FcConfigSetRescanInterval(config, 0);
    FcConfigSetCurrent(config);
}

ProcessFontState::TemporaryConfig::~TemporaryConfig()
{
    FcConfigSetCurrent(m_previous.get());
}

int ProcessFontState::faultCount() const
{
    return caughtFaults.load();
}

void ProcessFontState::onFaultSignalled()
{
    char drained[64];
    while (read(m_faultPipe[0], drained, sizeof drained) > 0) {
    }
    emit facesFaulted();
}
