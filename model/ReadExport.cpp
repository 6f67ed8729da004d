#include "model/ReadExport.h"

#include "model/CodePage.h"
#include "model/FileAccess.h"
#include "model/Status.h"
#include "model/WorkerThreads.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

size_t countBareLineFeeds(const char* data, size_t size)
{
    size_t bare = 0;
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', data + size - p))) != nullptr; ++p)
        if (p == data || p[-1] != '\r')
            ++bare;
    return bare;
}

// Translates size bytes through table. When the table keeps the ASCII bytes, as the OEM tables do,
// runs of eight ASCII bytes (most of an export) are stepped over whole.
void translateInPlace(char* data, size_t size, const unsigned char* table)
{
    bool keepsAscii = true;
    for (int c = 0; c < 0x80; ++c)
        keepsAscii = keepsAscii && table[c] == c;
    size_t i = 0;
    if (keepsAscii)
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            if ((word & 0x8080808080808080ull) != 0)
                for (size_t k = i; k < i + 8; ++k)
                    data[k] = static_cast<char>(table[static_cast<unsigned char>(data[k])]);
        }
    for (; i < size; ++i)
        data[i] = static_cast<char>(table[static_cast<unsigned char>(data[i])]);
}

// Translates the first size bytes of text through table (none: keeps them) and puts a CR before
// every LF that has none, in one pass. text must hold at least size bytes; it ends up holding
// the result, without a copy when its capacity allows.
void fixAndTranslate(std::string& text, size_t size, const unsigned char* table)
{
    const size_t bare = countBareLineFeeds(text.data(), size);
    if (bare == 0) {
        if (table != nullptr)
            translateInPlace(text.data(), size, table);
        return;
    }
    // From the back, so every byte is read before the growing gap reaches it: the write position
    // stays ahead of the read position by the bare LFs still in front of it.
    text.resize(size + bare);
    char* d = text.data();
    const char cr = static_cast<char>(table != nullptr ? table['\r'] : '\r');
    size_t w = size + bare;
    for (size_t r = size; r > 0;) {
        --r;
        const auto c = static_cast<unsigned char>(d[r]);
        d[--w] = static_cast<char>(table != nullptr ? table[c] : c);
        if (c == '\n' && (r == 0 || d[r - 1] != '\r'))
            d[--w] = cr;
    }
}

constexpr size_t kReadStep = size_t(4) << 20; // bytes read between two reports
constexpr int kReadShare = 80;                  // of the progress range 0..100

bool cancelledBy(const ReadReport* report)
{
    return report != nullptr && report->cancel != nullptr && report->cancel->load(std::memory_order_relaxed);
}

// "Reading export.txt: 45 %" and the progress position, when anything listens.
void reportRead(const ReadReport* report, const std::string& name, size_t done, size_t total)
{
    if (report == nullptr)
        return;
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    if (report->progress != nullptr)
        report->progress->setPos(percent * kReadShare / 100);
    if (report->status != nullptr)
        report->status->setStatusText("Reading " + name + ": " + std::to_string(percent) + " %");
}

std::string fileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads size bytes into data in steps, reporting after each; false on a read error or cancel.
bool readInSteps(std::FILE* f, std::string& data, const std::string& name, const ReadReport* report,
                 bool& cancelled)
{
    const size_t size = data.size();
    for (size_t done = 0; done < size;) {
        if (cancelledBy(report)) {
            cancelled = true;
            return false;
        }
        const size_t step = std::min(kReadStep, size - done);
        if (std::fread(data.data() + done, 1, step, f) != step)
            return false;
        done += step;
        reportRead(report, name, done, size);
    }
    return true;
}

// Reads a stream that cannot tell its size (a pipe, a terminal) to its end, in steps.
bool readStream(std::FILE* f, std::string& data, const ReadReport* report, bool& cancelled, bool& tooLarge)
{
    constexpr size_t kLimit = 0x7FFFFFF0;
    for (;;) {
        if (cancelledBy(report)) {
            cancelled = true;
            return false;
        }
        const size_t done = data.size();
        data.resize(done + kReadStep);
        const size_t got = std::fread(data.data() + done, 1, kReadStep, f);
        data.resize(done + got);
        if (data.size() > kLimit) {
            tooLarge = true;
            return false;
        }
        if (got < kReadStep)
            return !std::ferror(f);
    }
}

bool keepsAscii(const unsigned char* table)
{
    for (int c = 0; c < 0x80; ++c)
        if (table[c] != c)
            return false;
    return true;
}

constexpr size_t kSliceBytes = size_t{8} << 20;

// Has the workers fault in the first bytes bytes of the buffer's capacity, slice by slice: the
// kernel clears every new page, and done by the one thread that zero-fills the string that is
// the largest single part of reading. Advice only; where the system has none, nothing happens.
void populateInSlices(std::string& buffer, size_t bytes)
{
    const int slices = static_cast<int>((bytes + kSliceBytes - 1) / kSliceBytes);
    runInOrder(
        slices,
        [&](int k, int) {
            const size_t from = static_cast<size_t>(k) * kSliceBytes;
            prefaultPages(buffer.data() + from, std::min(kSliceBytes, bytes - from));
        },
        [](int) {}, [] { return false; });
}

// One slice of a file read on a worker thread.
struct ReadSlice {
    bool ok = true;
    int error = 0;
    size_t bareLineFeeds = 0; // LFs after a byte other than CR, not counting one at the slice's start
};

// Reads text.size() bytes of f in slices on the worker threads, each slice translated through
// table (which keeps ASCII, so CR and LF stay) as soon as it is read; then puts the missing CRs in.
// The report hears of each slice, in file order, on the calling thread; its cancel flag stops the
// reading (false, cancelled set).
bool readInSlices(std::FILE* f, std::string& text, const unsigned char* table, int& error, const std::string& name,
                  const ReadReport* report, bool& cancelled)
{
    const size_t size = text.size();
    const int slices = static_cast<int>((size + kSliceBytes - 1) / kSliceBytes);
    std::vector<ReadSlice> read(static_cast<size_t>(slices));
    char* data = text.data();
    runInOrder(
        slices,
        [&](int k, int) {
            const size_t from = static_cast<size_t>(k) * kSliceBytes;
            const size_t length = std::min(kSliceBytes, size - from);
            ReadSlice& slice = read[static_cast<size_t>(k)];
            slice.ok = readFileAt(f, data + from, length, static_cast<std::int64_t>(from), slice.error);
            if (!slice.ok)
                return;
            slice.bareLineFeeds = countBareLineFeeds(data + from, length);
            if (data[from] == '\n')
                --slice.bareLineFeeds; // decided below, with the byte before it
            translateInPlace(data + from, length, table);
        },
        [&](int k) { reportRead(report, name, std::min(size, static_cast<size_t>(k + 1) * kSliceBytes), size); },
        [&] { return cancelledBy(report); });
    // The flag only ever goes from clear to set: clear now, no slice was left out.
    cancelled = cancelledBy(report);
    if (cancelled)
        return false;
    size_t bare = 0;
    for (int k = 0; k < slices; ++k) {
        const ReadSlice& slice = read[static_cast<size_t>(k)];
        if (!slice.ok) {
            error = slice.error;
            return false;
        }
        const size_t from = static_cast<size_t>(k) * kSliceBytes;
        bare += slice.bareLineFeeds;
        if (data[from] == '\n' && (from == 0 || data[from - 1] != '\r'))
            ++bare;
    }
    if (bare > 0)
        fixAndTranslate(text, size, nullptr);
    return true;
}

} // namespace

void normalizeLineEnds(std::string& text)
{
    fixAndTranslate(text, text.size(), nullptr);
}

Outcome readExportFile(const std::string& path, std::string& text, const ReadReport* report)
{
    // "-" is standard input; a pipe there or anywhere else is read to its end as it comes.
    const bool standardInput = path == "-";
    std::FILE* f = standardInput ? stdin : openFile(path, "rb");
    if (!f) {
        const int openErrno = errno;
        return {openErrno == ENOENT || openErrno == ENOTDIR ? OutcomeKind::NotFound : OutcomeKind::Unreadable, path,
                path + ": " + fileErrorText(openErrno)};
    }
    auto closeFile = [&] {
        if (!standardInput)
            std::fclose(f);
    };
    std::string data;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    bool tooLarge = ok && size > 0x7FFFFFF0L;
    bool cancelled = false;
    const bool streamed = !ok;
    if (streamed) {
        std::clearerr(f);
        ok = readStream(f, data, report, cancelled, tooLarge);
        size = static_cast<long>(data.size());
    }
    if (tooLarge) {
        closeFile();
        return {OutcomeKind::Unreadable, path, path + ": file too large (2 GB and more)"};
    }
    const std::string name = fileNameOf(path);
    if (ok && !streamed) {
        // Room for the CRs an export with LF line ends needs, so the buffer the file is read into
        // is the final one; untouched capacity costs no memory.
        const auto bytes = static_cast<size_t>(size);
        if (report != nullptr && report->progress != nullptr)
            report->progress->setRange(0, 100);
        reportRead(report, name, 0, bytes);
        data.reserve(bytes + bytes / 16 + 16);
        adviseLargePages(data.data(), data.capacity());
        if (bytes > kSliceBytes && workerThreads() > 1)
            populateInSlices(data, bytes);
        data.resize(bytes);
    }
    unsigned char table[256];
    const OemCodePage page = oemCodePage();
    for (int c = 0; c < 256; ++c)
        table[c] = oemToAnsiByte(static_cast<unsigned char>(c), page);
    const bool inSlices = ok && !streamed && data.size() > kSliceBytes && workerThreads() > 1 && keepsAscii(table);
    int readErrno = 0;
    if (streamed) {
        readErrno = ok ? 0 : errno;
    } else if (inSlices) {
        ok = readInSlices(f, data, table, readErrno, name, report, cancelled);
    } else if (ok) {
        ok = readInSteps(f, data, name, report, cancelled);
        readErrno = errno;
    } else {
        readErrno = errno;
    }
    closeFile();
    if (cancelled)
        return {OutcomeKind::Cancelled, path, {}};
    if (!ok)
        return {OutcomeKind::Unreadable, path, path + ": " + (readErrno ? fileErrorText(readErrno) : "cannot be read")};
    if (report != nullptr && report->status != nullptr)
        report->status->setStatusText("Converting " + name);
    if (!inSlices)
        fixAndTranslate(data, data.size(), table);
    if (report != nullptr && report->progress != nullptr)
        report->progress->setPos(100);
    text.swap(data);
    return {};
}
