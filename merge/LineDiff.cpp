#include "merge/LineDiff.h"

#include <git2.h>

#include <exception>
#include <mutex>
#include <new>

namespace {

// libgit2's buffer diff (the xdiff engine of git) with the patience algorithm: it anchors on lines
// that stand once in both texts, such as a procedure's header, instead of on the many "END;" and
// "BEGIN" lines of C/AL code.
// An exception of a callback (out of memory) is kept and the diff stopped: thrown through
// libgit2's C frames it would skip the library's clean-up and leak what the diff holds.
struct HunkCollector {
    std::vector<LineHunk> hunks;
    std::exception_ptr failure;
};

int onHunk(const git_diff_delta*, const git_diff_hunk* hunk, void* payload)
{
    auto* collector = static_cast<HunkCollector*>(payload);
    try {
        collector->hunks.push_back({hunk->old_start, hunk->old_lines, hunk->new_start, hunk->new_lines, {}});
    } catch (...) {
        collector->failure = std::current_exception();
        return -1;
    }
    return 0;
}

int onLine(const git_diff_delta*, const git_diff_hunk*, const git_diff_line* line, void* payload)
{
    auto* collector = static_cast<HunkCollector*>(payload);
    if (collector->hunks.empty())
        return 0;
    char op = ' ';
    if (line->origin == GIT_DIFF_LINE_ADDITION)
        op = '+';
    else if (line->origin == GIT_DIFF_LINE_DELETION)
        op = '-';
    else if (line->origin != GIT_DIFF_LINE_CONTEXT)
        return 0; // the "no newline at end of file" marks
    std::string_view text(line->content, line->content_len);
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    try {
        collector->hunks.back().lines.push_back({op, std::string(text)});
    } catch (...) {
        collector->failure = std::current_exception();
        return -1;
    }
    return 0;
}

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { git_libgit2_init(); });
}

} // namespace

std::vector<LineHunk> diffLines(std::string_view oldText, std::string_view newText, int context)
{
    if (oldText == newText)
        return {};
    initialiseOnce();
    git_diff_options options = GIT_DIFF_OPTIONS_INIT;
    options.flags = GIT_DIFF_PATIENCE | GIT_DIFF_FORCE_TEXT;
    options.context_lines = static_cast<uint32_t>(context);
    options.interhunk_lines = 0;
    HunkCollector collector;
    const int status = git_diff_buffers(oldText.empty() ? nullptr : oldText.data(), oldText.size(), nullptr,
                                        newText.empty() ? nullptr : newText.data(), newText.size(), nullptr, &options,
                                        nullptr, nullptr, onHunk, onLine, &collector);
    if (collector.failure)
        std::rethrow_exception(collector.failure);
    const git_error* error = status < 0 ? git_error_last() : nullptr;
    if (error != nullptr && error->klass == GIT_ERROR_NOMEMORY)
        throw std::bad_alloc(); // a partial diff is no result
    return std::move(collector.hunks);
}

void countChangedLines(const std::vector<LineHunk>& hunks, int& removed, int& added)
{
    removed = added = 0;
    for (const LineHunk& hunk : hunks)
        for (const DiffLine& line : hunk.lines) {
            removed += line.op == '-';
            added += line.op == '+';
        }
}

std::string unifiedHunks(const std::vector<LineHunk>& hunks, std::string_view lineEnd)
{
    std::string out;
    for (const LineHunk& hunk : hunks) {
        out += "@@ -" + std::to_string(hunk.oldStart) + "," + std::to_string(hunk.oldCount) + " +" +
               std::to_string(hunk.newStart) + "," + std::to_string(hunk.newCount) + " @@\n";
        for (const DiffLine& line : hunk.lines) {
            out += line.op;
            out += line.text;
            out += lineEnd;
        }
    }
    return out;
}
