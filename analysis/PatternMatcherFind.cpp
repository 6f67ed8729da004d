#include "analysis/PatternMatcher.h"
#include "analysis/PatternProgram.h"

#include <algorithm>
#include <cstring>

// The search: quick rejections, then a backtracking run of the program at each candidate start.

using namespace patternprog;

namespace {

// A pending alternative is 32 bytes, a group mark 8: together a few MB at most.
constexpr std::size_t kMaxChoices = 1u << 17;
constexpr std::size_t kMaxTrail = 1u << 17;
constexpr std::int64_t kBaseSteps = 10'000'000;
constexpr std::int64_t kStepsPerByte = 32;
constexpr std::int64_t kPollInterval = 4096;

} // namespace

int CPatternMatcher::find(const char* subject, int length, int start)
{
    m_literalSubject = nullptr; // the subject may have changed behind the same pointer
    m_tailSubject = nullptr;
    return find(subject, length, start, length);
}

int CPatternMatcher::find(const char* subject, int length, int start, int lastStart)
{
    if (subject == nullptr || length < 0 || start < 0 || start > length)
        return -1;
    m_matchText.reset();
    clearGroups();
    if (!m_compiled || !m_program || lastStart < start)
        return -1;
    m_subject = reinterpret_cast<const unsigned char*>(subject);
    if (m_mustContain != nullptr && !literalFollows(start, length))
        return -1;
    m_length = length;
    m_lastStart = std::min(lastStart, length);
    m_lineStart = start;
    m_steps = 0;
    m_nextPoll = kPollInterval;
    m_budget = m_stepBudget > 0 ? m_stepBudget
                                : kBaseSteps + kStepsPerByte * (std::int64_t{length} - start + 1);
    const int found = scanPositions(start);
    if (found < 0) {
        clearGroups();
        return -1;
    }
    if (m_keepMatchText) {
        const std::size_t size = static_cast<std::size_t>(m_groupEnd[0] - m_groupStart[0]);
        m_matchText.reset(new char[size + 1]);
        std::memcpy(m_matchText.get(), subject + found, size);
        m_matchText[size] = '\0';
    }
    return found;
}

// Whether the literal every match contains occurs at or after start. Searches of one subject from
// ascending starts look up to each occurrence once, not once per search.
bool CPatternMatcher::literalFollows(int start, int length)
{
    const bool known = m_literalSubject == m_subject && m_literalLength == length && m_literalFrom <= start &&
                       (m_literalAt < 0 || start <= m_literalAt);
    if (!known) {
        const std::string_view text(reinterpret_cast<const char*>(m_subject), static_cast<std::size_t>(length));
        const std::size_t at = text.find(mustContain(), static_cast<std::size_t>(start));
        m_literalSubject = m_subject;
        m_literalLength = length;
        m_literalFrom = start;
        m_literalAt = at == std::string_view::npos ? -1 : static_cast<int>(at);
    }
    return m_literalAt >= 0;
}

int CPatternMatcher::scanPositions(int start)
{
    if (m_anchored)
        return attempt(start) == Outcome::Match ? start : -1;
    for (int position = start; position <= m_lastStart; ++position) {
        if (m_firstChar != 0) {
            const void* hit = std::memchr(m_subject + position, m_firstChar,
                                          static_cast<std::size_t>(std::min(m_lastStart + 1, m_length) - position));
            if (hit == nullptr)
                return -1;
            position = static_cast<int>(static_cast<const unsigned char*>(hit) - m_subject);
        }
        if (cancelRequested())
            return -1;
        const Outcome outcome = attempt(position);
        if (outcome == Outcome::Match)
            return position;
        if (outcome == Outcome::Abort)
            return -1;
    }
    return -1;
}

// Runs the program at position with an explicit stack of pending alternatives, so that long
// inputs cost heap memory (capped) instead of C++ stack.
CPatternMatcher::Outcome CPatternMatcher::attempt(int position)
{
    clearGroups();
    m_input = position;
    m_choices.clear();
    m_trail.clear();
    const unsigned char* node = m_program.get();
    for (;;) {
        if (++m_steps >= m_nextPoll && !poll())
            return Outcome::Abort;
        const Step step = node != nullptr ? runNode(node) : Step::Fail;
        if (step == Step::Match) {
            commitGroups(position);
            return Outcome::Match;
        }
        if (step == Step::Overflow)
            return Outcome::NoMatch;
        if (step == Step::Fail && !backtrack(node))
            return Outcome::NoMatch;
    }
}

// Executes node; on Continue, node is the one to run next.
CPatternMatcher::Step CPatternMatcher::runNode(const unsigned char*& node)
{
    const unsigned char opcode = node[0];
    switch (opcode) {
    case END:
        return Step::Match;
    case BOL:
        if (m_input != m_lineStart)
            return Step::Fail;
        break;
    case EOL:
        if (!atEnd())
            return Step::Fail;
        break;
    case ANY:
        if (atEnd())
            return Step::Fail;
        ++m_input;
        break;
    case ANYOF:
    case ANYBUT:
        if (atEnd() || inOperand(node, m_subject[m_input]) != (opcode == ANYOF))
            return Step::Fail;
        ++m_input;
        break;
    case NOTHING:
    case BACK:
        break;
    case EXACTLY:
        if (!matchLiteral(node))
            return Step::Fail;
        break;
    case BRANCH:
        return enterBranch(node);
    case STAR:
    case PLUS:
        return enterRepeat(node);
    default:
        if (!isGroupMark(opcode))
            return Step::Fail;
        if (m_trail.size() >= kMaxTrail)
            return Step::Overflow;
        m_trail.push_back({opcode, m_input});
        break;
    }
    node = nextNode(node);
    return Step::Continue;
}

bool CPatternMatcher::matchLiteral(const unsigned char* node)
{
    const unsigned char* text = operandOf(node);
    if (atEnd() || m_subject[m_input] != text[0])
        return false;
    const std::size_t length = std::strlen(reinterpret_cast<const char*>(text));
    if (length > static_cast<std::size_t>(m_length - m_input) ||
        std::memcmp(m_subject + m_input, text, length) != 0)
        return false;
    m_input += static_cast<int>(length);
    return true;
}

CPatternMatcher::Step CPatternMatcher::enterBranch(const unsigned char*& node)
{
    const unsigned char* alternative = nextNode(node);
    if (alternative != nullptr && alternative[0] == BRANCH &&
        !pushChoice(alternative, m_input, -1, 0, -1))
        return Step::Overflow;
    node = operandOf(node);
    return Step::Continue;
}

CPatternMatcher::Step CPatternMatcher::enterRepeat(const unsigned char*& node)
{
    int count = runLength(operandOf(node));
    const bool remembered = remembersTail(node);
    if (remembered)
        count = std::min(count, m_tailFailFrom - 1 - m_input);
    const int min = node[0] == STAR ? 0 : 1;
    if (count < min)
        return Step::Fail;
    m_steps += count;
    const unsigned char* follow = nextNode(node);
    const int nextChar = follow != nullptr && follow[0] == EXACTLY ? *operandOf(follow) : -1;
    if (!pushChoice(follow, m_input, count, min, nextChar, remembered ? node : nullptr))
        return Step::Overflow;
    return resumeRepeat(node) ? Step::Continue : Step::Fail;
}

// Whether repeat repeats "." and the program behind it matches or fails at a position
// independently of everything before; sets up the remembered failures for it and this subject.
bool CPatternMatcher::remembersTail(const unsigned char* repeat)
{
    if (operandOf(repeat)[0] != ANY)
        return false;
    if (repeat != m_tailNode) {
        m_tailNode = repeat;
        m_tailPure = true;
        for (const unsigned char* n = nextNode(repeat); n != nullptr && n[0] != END; n = nextNode(n)) {
            const unsigned char op = n[0];
            if (!(op == EOL || op == ANY || op == ANYOF || op == ANYBUT || op == EXACTLY || op == NOTHING ||
                  isGroupMark(op))) {
                m_tailPure = false;
                break;
            }
        }
        m_tailSubject = nullptr;
    }
    if (!m_tailPure)
        return false;
    if (m_tailSubject != m_subject || m_tailLength != m_length) {
        m_tailSubject = m_subject;
        m_tailLength = m_length;
        m_tailFailFrom = m_length + 1;
    }
    return true;
}

// Every position from position on is known to fail the program behind star.
void CPatternMatcher::tailFailsFrom(const unsigned char* star, int position)
{
    if (star != nullptr && star == m_tailNode && m_tailSubject == m_subject)
        m_tailFailFrom = std::min(m_tailFailFrom, position);
}

// Number of bytes from the input on that the one-byte node repeated matches in a row.
int CPatternMatcher::runLength(const unsigned char* repeated) const
{
    const unsigned char* begin = m_subject + m_input;
    const unsigned char* end = m_subject + m_length;
    const unsigned char* scan = begin;
    switch (repeated[0]) {
    case ANY:
        scan = end;
        break;
    case EXACTLY:
        while (scan < end && *scan == *operandOf(repeated))
            ++scan;
        break;
    case ANYOF:
        while (scan < end && inOperand(repeated, *scan))
            ++scan;
        break;
    case ANYBUT:
        while (scan < end && !inOperand(repeated, *scan))
            ++scan;
        break;
    default:
        break;
    }
    return static_cast<int>(scan - begin);
}

// Continues the repeat on top of the stack with its longest untried run whose next byte fits;
// pops the repeat once no shorter run is left.
bool CPatternMatcher::resumeRepeat(const unsigned char*& node)
{
    Choice& repeat = m_choices.back();
    while (repeat.count >= repeat.min) {
        const int input = repeat.input + repeat.count--;
        // Every longer run has been tried and failed.
        tailFailsFrom(repeat.star, input + 1);
        ++m_steps;
        if (repeat.nextChar >= 0 && (input >= m_length || m_subject[input] != repeat.nextChar))
            continue;
        m_input = input;
        node = repeat.node;
        if (repeat.count < repeat.min)
            m_choices.pop_back();
        return true;
    }
    tailFailsFrom(repeat.star, repeat.input + repeat.min);
    m_choices.pop_back();
    return false;
}

// Returns to the latest pending alternative; false when none is left.
bool CPatternMatcher::backtrack(const unsigned char*& node)
{
    while (!m_choices.empty()) {
        Choice& choice = m_choices.back();
        m_trail.resize(static_cast<std::size_t>(choice.trailHeight));
        if (choice.count >= 0) {
            if (resumeRepeat(node))
                return true;
            continue;
        }
        const unsigned char* branch = choice.node;
        m_input = choice.input;
        const unsigned char* following = nextNode(branch);
        if (following != nullptr && following[0] == BRANCH)
            choice.node = following;
        else
            m_choices.pop_back();
        node = operandOf(branch);
        return true;
    }
    return false;
}

bool CPatternMatcher::pushChoice(const unsigned char* node, int input, int count, int min,
                                 int nextChar, const unsigned char* star)
{
    if (m_choices.size() >= kMaxChoices)
        return false;
    m_choices.push_back({node, input, count, min, nextChar, static_cast<int>(m_trail.size()), star});
    return true;
}

// A group keeps the positions of its last pass on the successful path.
void CPatternMatcher::commitGroups(int position)
{
    for (auto mark = m_trail.rbegin(); mark != m_trail.rend(); ++mark) {
        const bool open = mark->opcode < CLOSE;
        const int group = mark->opcode - (open ? OPEN : CLOSE);
        int& slot = open ? m_groupStart[group] : m_groupEnd[group];
        if (slot < 0)
            slot = mark->input;
    }
    m_groupStart[0] = position;
    m_groupEnd[0] = m_input;
}

void CPatternMatcher::clearGroups()
{
    for (int i = 0; i <= kMaxGroups; ++i) {
        m_groupStart[i] = -1;
        m_groupEnd[i] = -1;
    }
}

bool CPatternMatcher::poll()
{
    m_nextPoll = m_steps + kPollInterval;
    return m_steps <= m_budget && !cancelRequested();
}
