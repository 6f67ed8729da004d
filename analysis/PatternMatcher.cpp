#include "analysis/PatternMatcher.h"
#include "analysis/PatternProgram.h"

#include <cstring>
#include <new>

// The compiler: two passes of the same recursive-descent parser over the pattern, the first only
// counting the program size, the second writing and linking the nodes.

using namespace patternprog;

namespace {

// Parse flags of an element.
constexpr int HASWIDTH = 1; // cannot match the empty string
constexpr int SIMPLE = 2;   // matches exactly one byte
constexpr int SPSTART = 4;  // starts with a "*" or "+" repetition

constexpr std::ptrdiff_t kMaxOffset = 0xFFFF;
constexpr const char* kMetaCharacters = "^$.[()|?+*\\";

bool isRepeat(char c) { return c == '*' || c == '+' || c == '?'; }

static_assert(kMaxGroupNumber == CPatternMatcher::kMaxGroups);

} // namespace

CPatternMatcher::CPatternMatcher() : m_dummy{NOTHING, 0, 0}
{
    clearGroups();
}

CPatternMatcher::~CPatternMatcher() = default;

bool CPatternMatcher::compile(const char* pattern)
{
    if (pattern == nullptr)
        return false;
    m_compiled = true;
    m_literalSubject = nullptr;
    m_tailNode = nullptr;
    int flags = 0;
    beginPass(pattern, m_dummy);
    m_size = 0;
    if (parseExpression(false, flags) == nullptr)
        return false;

    clearProgram();
    // A shortage of memory is no invalid pattern: bad_alloc goes to the caller, which reports it.
    m_program.reset(new unsigned char[m_size]());
    m_programSize = m_size;
    beginPass(pattern, m_program.get());
    if (parseExpression(false, flags) == nullptr || m_linkFailed) {
        clearProgram();
        return false;
    }
    setQuickRejection(flags);
    return true;
}

void CPatternMatcher::beginPass(const char* pattern, unsigned char* emitStart)
{
    m_cursor = pattern;
    m_nextGroup = 1;
    m_emit = emitStart;
    m_sizePass = emitStart == m_dummy;
    m_linkFailed = false;
}

void CPatternMatcher::clearProgram()
{
    m_program.reset();
    m_programSize = 0;
    m_firstChar = 0;
    m_anchored = false;
    m_mustContain = nullptr;
    m_mustLength = 0;
}

// The top level (group false) or the inside of a group, whose "(" is already consumed.
unsigned char* CPatternMatcher::parseExpression(bool group, int& flags)
{
    flags = HASWIDTH;
    int number = 0;
    unsigned char* first = nullptr;
    if (group) {
        if (m_nextGroup > kMaxGroups)
            return nullptr;
        number = m_nextGroup++;
        first = emitNode(OPEN + number);
    }
    for (;;) {
        int branchFlags = 0;
        unsigned char* branch = parseBranch(branchFlags);
        if (branch == nullptr)
            return nullptr;
        if (first == nullptr)
            first = branch;
        else
            linkTail(first, branch);
        if ((branchFlags & HASWIDTH) == 0)
            flags &= ~HASWIDTH;
        flags |= branchFlags & SPSTART;
        if (*m_cursor != '|')
            break;
        ++m_cursor;
    }
    unsigned char* ender = emitNode(group ? CLOSE + number : END);
    linkTail(first, ender);
    for (unsigned char* node = first; node != nullptr; node = nextNode(node))
        linkOperandTail(node, ender);
    if (group) {
        if (*m_cursor != ')')
            return nullptr;
        ++m_cursor;
    } else if (*m_cursor != '\0') {
        return nullptr; // an unmatched ")"
    }
    return first;
}

unsigned char* CPatternMatcher::parseBranch(int& flags)
{
    flags = 0;
    unsigned char* branch = emitNode(BRANCH);
    unsigned char* chain = nullptr;
    while (*m_cursor != '\0' && *m_cursor != '|' && *m_cursor != ')') {
        int pieceFlags = 0;
        unsigned char* piece = parsePiece(pieceFlags);
        if (piece == nullptr)
            return nullptr;
        flags |= pieceFlags & HASWIDTH;
        if (chain == nullptr)
            flags |= pieceFlags & SPSTART;
        else
            linkTail(chain, piece);
        chain = piece;
    }
    if (chain == nullptr)
        emitNode(NOTHING);
    return branch;
}

unsigned char* CPatternMatcher::parsePiece(int& flags)
{
    int atomFlags = 0;
    unsigned char* atom = parseAtom(atomFlags);
    if (atom == nullptr)
        return nullptr;
    const char op = *m_cursor;
    if (!isRepeat(op)) {
        flags = atomFlags;
        return atom;
    }
    if ((atomFlags & HASWIDTH) == 0 && op != '?')
        return nullptr; // the loop could go round without consuming input
    const bool simple = (atomFlags & SIMPLE) != 0;
    if (op == '*') {
        flags = SPSTART;
        buildStar(atom, simple);
    } else if (op == '+') {
        flags = HASWIDTH | SPSTART;
        buildPlus(atom, simple);
    } else {
        flags = 0;
        buildOptional(atom);
    }
    ++m_cursor;
    if (isRepeat(*m_cursor))
        return nullptr;
    return atom;
}

void CPatternMatcher::buildStar(unsigned char* atom, bool simple)
{
    if (simple) {
        insertNode(STAR, atom);
        return;
    }
    insertNode(BRANCH, atom);
    linkOperandTail(atom, emitNode(BACK));
    linkOperandTail(atom, atom);
    linkTail(atom, emitNode(BRANCH));
    linkTail(atom, emitNode(NOTHING));
}

void CPatternMatcher::buildPlus(unsigned char* atom, bool simple)
{
    if (simple) {
        insertNode(PLUS, atom);
        return;
    }
    unsigned char* loop = emitNode(BRANCH);
    linkTail(atom, loop);
    linkTail(emitNode(BACK), atom);
    linkTail(loop, emitNode(BRANCH));
    linkTail(atom, emitNode(NOTHING));
}

void CPatternMatcher::buildOptional(unsigned char* atom)
{
    insertNode(BRANCH, atom);
    linkTail(atom, emitNode(BRANCH));
    unsigned char* nothing = emitNode(NOTHING);
    linkTail(atom, nothing);
    linkOperandTail(atom, nothing);
}

unsigned char* CPatternMatcher::parseAtom(int& flags)
{
    flags = 0;
    switch (*m_cursor) {
    case '\0': case '|': case ')': case '*': case '+': case '?':
        return nullptr;
    case '^':
        ++m_cursor;
        return emitNode(BOL);
    case '$':
        ++m_cursor;
        return emitNode(EOL);
    case '.':
        ++m_cursor;
        flags = HASWIDTH | SIMPLE;
        return emitNode(ANY);
    case '[':
        ++m_cursor;
        flags = HASWIDTH | SIMPLE;
        return parseClass();
    case '(': {
        ++m_cursor;
        int groupFlags = 0;
        unsigned char* group = parseExpression(true, groupFlags);
        flags = groupFlags & (HASWIDTH | SPSTART);
        return group;
    }
    case '\\':
        ++m_cursor;
        if (*m_cursor == '\0')
            return nullptr;
        flags = HASWIDTH | SIMPLE;
        return emitExactly(m_cursor++, 1);
    default:
        return parseLiteral(flags);
    }
}

// The members after "[" up to and including "]".
unsigned char* CPatternMatcher::parseClass()
{
    const bool negated = *m_cursor == '^';
    if (negated)
        ++m_cursor;
    unsigned char* node = emitNode(negated ? ANYBUT : ANYOF);
    if (*m_cursor == ']' || *m_cursor == '-')
        emitByte(static_cast<unsigned char>(*m_cursor++));
    while (*m_cursor != '\0' && *m_cursor != ']') {
        if (*m_cursor != '-') {
            emitByte(static_cast<unsigned char>(*m_cursor++));
            continue;
        }
        ++m_cursor;
        if (*m_cursor == ']' || *m_cursor == '\0') {
            emitByte('-');
            continue;
        }
        // The range start is already in the operand as an ordinary member.
        const int from = static_cast<signed char>(m_cursor[-2]);
        const int to = static_cast<signed char>(*m_cursor++);
        if (to < from)
            return nullptr;
        for (int byte = from + 1; byte <= to; ++byte)
            if (byte != 0) // would end the operand string early
                emitByte(static_cast<unsigned char>(byte));
    }
    if (*m_cursor != ']')
        return nullptr;
    ++m_cursor;
    emitByte(0);
    return node;
}

unsigned char* CPatternMatcher::parseLiteral(int& flags)
{
    std::size_t length = std::strcspn(m_cursor, kMetaCharacters);
    // Leave the last character to a following repeat operator: "ab*" repeats the b only.
    if (length > 1 && isRepeat(m_cursor[length]))
        --length;
    flags = HASWIDTH | (length == 1 ? SIMPLE : 0);
    unsigned char* node = emitExactly(m_cursor, length);
    m_cursor += length;
    return node;
}

unsigned char* CPatternMatcher::emitNode(int opcode)
{
    if (m_sizePass) {
        m_size += kNodeSize;
        return m_dummy;
    }
    unsigned char* node = m_emit;
    node[0] = static_cast<unsigned char>(opcode);
    node[1] = 0;
    node[2] = 0;
    m_emit += kNodeSize;
    return node;
}

unsigned char* CPatternMatcher::emitExactly(const char* text, std::size_t length)
{
    unsigned char* node = emitNode(EXACTLY);
    for (std::size_t i = 0; i < length; ++i)
        emitByte(static_cast<unsigned char>(text[i]));
    emitByte(0);
    return node;
}

void CPatternMatcher::emitByte(unsigned char byte)
{
    if (m_sizePass)
        ++m_size;
    else
        *m_emit++ = byte;
}

// Shifts everything from before on by one node and puts a new node into the gap.
void CPatternMatcher::insertNode(int opcode, unsigned char* before)
{
    if (m_sizePass) {
        m_size += kNodeSize;
        return;
    }
    std::memmove(before + kNodeSize, before, static_cast<std::size_t>(m_emit - before));
    m_emit += kNodeSize;
    before[0] = static_cast<unsigned char>(opcode);
    before[1] = 0;
    before[2] = 0;
}

// Points the last node of the chain starting at node to target.
void CPatternMatcher::linkTail(unsigned char* node, unsigned char* target)
{
    if (node == m_dummy)
        return;
    unsigned char* last = node;
    for (unsigned char* next = nextNode(last); next != nullptr; next = nextNode(last))
        last = next;
    const std::ptrdiff_t offset = last[0] == BACK ? last - target : target - last;
    if (offset <= 0 || offset > kMaxOffset) {
        m_linkFailed = true;
        return;
    }
    last[1] = static_cast<unsigned char>(offset & 0xFF);
    last[2] = static_cast<unsigned char>(offset >> 8);
}

// For a BRANCH: links the end of its alternative's chain to target.
void CPatternMatcher::linkOperandTail(unsigned char* node, unsigned char* target)
{
    if (node == m_dummy || node[0] != BRANCH)
        return;
    linkTail(node + kNodeSize, target);
}

void CPatternMatcher::setQuickRejection(int flags)
{
    m_firstChar = 0;
    m_anchored = false;
    m_mustContain = nullptr;
    m_mustLength = 0;
    const unsigned char* top = m_program.get();
    const unsigned char* after = nextNode(top);
    if (after == nullptr || after[0] != END)
        return; // several top-level alternatives
    const unsigned char* first = operandOf(top);
    if (first[0] == EXACTLY)
        m_firstChar = *operandOf(first);
    else if (first[0] == BOL)
        m_anchored = true;
    if ((flags & SPSTART) == 0)
        return;
    for (const unsigned char* node = first; node != nullptr; node = nextNode(node)) {
        if (node[0] != EXACTLY)
            continue;
        const char* text = reinterpret_cast<const char*>(operandOf(node));
        const std::size_t length = std::strlen(text);
        if (length >= m_mustLength) {
            m_mustContain = text;
            m_mustLength = length;
        }
    }
}
