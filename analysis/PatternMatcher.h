#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Compiles a classic regular expression into a node program and finds its leftmost match by
// backtracking; byte-oriented and always case-sensitive.
//
// Syntax: literals, ".", "[...]" and "[^...]" classes, "^" (the search start), "$" (the end of the
// subject), "(...)" groups 1 to 9, "|", and the greedy repeats "*", "+", "?". A backslash takes the
// next character literally ("\n" is the letter n).
class CPatternMatcher {
public:
    static constexpr int kMaxGroups = 9;

    CPatternMatcher();
    CPatternMatcher(const CPatternMatcher&) = delete;
    CPatternMatcher& operator=(const CPatternMatcher&) = delete;
    ~CPatternMatcher();

    // Compiles pattern (read up to its NUL). Fails on: more than 9 groups; "*" or "+" after
    // something that can match the empty string; a repeat operator right after another one or
    // with nothing before it; an unmatched "(" or ")"; "[" without "]"; a range whose end is below
    // its start (bytes compare as signed chars); a trailing backslash; a program whose node links
    // do not fit in 16 bits. A null pattern fails and leaves compiled() as it was; any other call
    // sets it. After a syntax error the previous program stays; after a link overflow there is none.
    bool compile(const char* pattern);
    bool compile(const std::string& pattern) { return compile(pattern.c_str()); }

    // Offset of the first match at or after start in subject[0, length). Position length stands
    // for the terminating NUL ("$" matches there, "." does not); every byte before it, a NUL byte
    // included, is ordinary (a class never contains NUL). Returns -1 when start is not within
    // 0..length, nothing matches, no program is compiled, the step budget runs out or the cancel
    // flag is raised. On success matchText() and the group positions describe the match.
    // A single match attempt that needs more than about 130,000 pending alternatives or group
    // marks fails (the search goes on at the next position).
    int find(const char* subject, int length, int start);
    // The same, with no match starting after lastStart looked for (-1 then), so the search of one
    // part of a text does not run on through the rest of it. Successive calls on one unchanged
    // subject share what they learnt about where the pattern's literal occurs.
    int find(const char* subject, int length, int start, int lastStart);
    int find(const std::string& subject, int start)
    {
        return find(subject.data(), static_cast<int>(subject.size()), start);
    }

    // Checked between start positions and every few thousand matcher steps; not owned.
    void setCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }
    // Caps the matcher steps of one find; 0 (the default) selects a budget that grows with the
    // length searched, large enough for linear work on any export.
    void setStepBudget(std::int64_t steps) { m_stepBudget = steps; }

    // Kept for the caller's case option; matching always compares bytes exactly.
    bool caseFlag() const { return m_caseFlag; }
    void setCaseFlag(bool caseSensitive) { m_caseFlag = caseSensitive; }
    bool compiled() const { return m_compiled; }

    // NUL-terminated copy of the last match, nullptr when the last find failed or the copy is
    // switched off.
    const char* matchText() const { return m_matchText.get(); }
    // Whether a find copies its match for matchText() (on by default). A search that only wants
    // the positions turns it off: a greedy match such as "Cust.*No\\." runs to the last "No." of
    // the export, and copying megabytes at every hit made such a search take minutes.
    void setKeepMatchText(bool keep) { m_keepMatchText = keep; }
    // Positions of the whole match (n = 0) and of group n (1..9) after a successful find; -1 for a
    // group that took no part in the match. Out-of-range n gives -1.
    int groupStart(int n) const { return validGroup(n) ? m_groupStart[n] : -1; }
    int groupEnd(int n) const { return validGroup(n) ? m_groupEnd[n] : -1; }

    // Quick-rejection data of the compiled pattern: the byte every match begins with (0 = none),
    // whether a match can only begin at the search start, and a literal every match contains.
    char firstChar() const { return static_cast<char>(m_firstChar); }
    bool anchored() const { return m_anchored; }
    std::string_view mustContain() const
    {
        return m_mustContain ? std::string_view(m_mustContain, m_mustLength) : std::string_view();
    }

    // The node program (layout in PatternProgram.h), nullptr when there is none.
    const unsigned char* program() const { return m_program.get(); }
    std::size_t programSize() const { return m_programSize; }

private:
    enum class Step { Continue, Fail, Match, Overflow };
    enum class Outcome { Match, NoMatch, Abort };

    // One pending alternative: a BRANCH still to try (count < 0), or a repeat whose shorter runs
    // are still to try (count = the next run length).
    struct Choice {
        const unsigned char* node; // the BRANCH to try, or the node after the repeat
        int input;                 // input to restore, or where the repeat's run begins
        int count;
        int min;
        int nextChar;              // byte that must follow the run, -1 for any
        int trailHeight;
        const unsigned char* star; // the repeat of "." whose failures are remembered, or nullptr
    };
    // An OPEN or CLOSE passed on the current path, with the input it saw.
    struct GroupMark {
        unsigned char opcode;
        int input;
    };

    static bool validGroup(int n) { return n >= 0 && n <= kMaxGroups; }

    // Compilation
    void beginPass(const char* pattern, unsigned char* emitStart);
    unsigned char* parseExpression(bool group, int& flags);
    unsigned char* parseBranch(int& flags);
    unsigned char* parsePiece(int& flags);
    unsigned char* parseAtom(int& flags);
    unsigned char* parseClass();
    unsigned char* parseLiteral(int& flags);
    void buildStar(unsigned char* atom, bool simple);
    void buildPlus(unsigned char* atom, bool simple);
    void buildOptional(unsigned char* atom);
    unsigned char* emitNode(int opcode);
    unsigned char* emitExactly(const char* text, std::size_t length);
    void emitByte(unsigned char byte);
    void insertNode(int opcode, unsigned char* before);
    void linkTail(unsigned char* node, unsigned char* target);
    void linkOperandTail(unsigned char* node, unsigned char* target);
    void clearProgram();
    void setQuickRejection(int flags);

    // Matching
    int scanPositions(int start);
    bool literalFollows(int start, int length);
    Outcome attempt(int position);
    Step runNode(const unsigned char*& node);
    Step enterBranch(const unsigned char*& node);
    Step enterRepeat(const unsigned char*& node);
    bool resumeRepeat(const unsigned char*& node);
    bool backtrack(const unsigned char*& node);
    bool matchLiteral(const unsigned char* node);
    int runLength(const unsigned char* repeated) const;
    bool pushChoice(const unsigned char* node, int input, int count, int min, int nextChar,
                    const unsigned char* star = nullptr);
    bool remembersTail(const unsigned char* repeat);
    void tailFailsFrom(const unsigned char* star, int position);
    void commitGroups(int position);
    void clearGroups();
    bool poll();
    bool cancelRequested() const
    {
        return m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed);
    }
    bool atEnd() const { return m_input >= m_length; }

    bool m_caseFlag = true;
    bool m_compiled = false;
    std::unique_ptr<char[]> m_matchText;
    bool m_keepMatchText = true;
    int m_groupStart[kMaxGroups + 1];
    int m_groupEnd[kMaxGroups + 1];
    unsigned char m_firstChar = 0;
    bool m_anchored = false;
    const char* m_mustContain = nullptr; // points into m_program
    std::size_t m_mustLength = 0;
    std::unique_ptr<unsigned char[]> m_program;
    std::size_t m_programSize = 0;

    // Compile state: the size pass points m_emit at m_dummy and only counts m_size.
    const char* m_cursor = nullptr;
    int m_nextGroup = 1;
    unsigned char* m_emit = nullptr;
    std::size_t m_size = 0;
    bool m_sizePass = false;
    bool m_linkFailed = false;
    unsigned char m_dummy[3];

    // Match state
    const unsigned char* m_subject = nullptr;
    int m_length = 0;
    int m_input = 0;
    int m_lineStart = 0;
    int m_lastStart = 0;
    // Where the literal every match contains was last looked for in which subject, and where it
    // was found from there (-1: nowhere): the answer for every start up to that place.
    const unsigned char* m_literalSubject = nullptr;
    int m_literalLength = -1;
    int m_literalFrom = 0;
    int m_literalAt = -1;
    // A repeat of "." runs to the end of the subject, and the program behind it is tried from the
    // end backwards: after "Cust.*No\\." each hit would walk back over all the text behind the last
    // "No.". When the rest of the program has no choices and no "^", whether it matches at a
    // position depends on nothing else, so the positions where it failed are remembered for the
    // repeat node and the subject: from m_tailFailFrom on it fails everywhere.
    const unsigned char* m_tailNode = nullptr;
    const unsigned char* m_tailSubject = nullptr;
    int m_tailLength = -1;
    bool m_tailPure = false;
    int m_tailFailFrom = 0;
    std::vector<Choice> m_choices;
    std::vector<GroupMark> m_trail;
    std::int64_t m_steps = 0;
    std::int64_t m_nextPoll = 0;
    std::int64_t m_budget = 0;
    std::int64_t m_stepBudget = 0;
    const std::atomic<bool>* m_cancel = nullptr;
};
