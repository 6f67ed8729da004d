#pragma once

/*
 * The node program: a sequence of nodes, starting directly with the first one (no header byte).
 *
 *   byte 0      opcode
 *   bytes 1-2   next-offset, 16-bit little-endian, 0 = no next node; BACK counts backwards from
 *               its own node, every other opcode forwards
 *   bytes 3...  EXACTLY, ANYOF, ANYBUT only: the operand, a NUL-terminated byte string
 *
 *   opcode   name      operand   matches
 *    0       END       -         nothing more: the match succeeds
 *    1       BOL       -         empty, where the input is at the search start
 *    2       EOL       -         empty, at the end of the subject
 *    3       ANY       -         any one byte
 *    4       ANYOF     string    one byte of the string
 *    5       ANYBUT    string    one byte not in the string
 *    6       BRANCH    node      one alternative: the node after the BRANCH starts it, next leads
 *                                to the following BRANCH of the alternation, or past it
 *    7       BACK      -         empty; next points backwards and closes a loop
 *    8       EXACTLY   string    the string
 *    9       NOTHING   -         empty
 *   10       STAR      node      the one-byte node after it, 0 or more times, greedy
 *   11       PLUS      node      the one-byte node after it, 1 or more times, greedy
 *   21..29   OPEN n    -         empty; start of group n (20 + n)
 *   31..39   CLOSE n   -         empty; end of group n (30 + n)
 *
 * The whole pattern is one alternation ended by END. Repeats of a node that is not one byte wide:
 *   x*   BRANCH(x -> BACK to this BRANCH) -> BRANCH(NOTHING) -> NOTHING
 *   x+   x -> BRANCH(BACK to x) -> BRANCH(NOTHING) -> NOTHING
 *   x?   BRANCH(x) -> BRANCH(NOTHING) -> NOTHING, both alternatives leading to the last NOTHING
 * A group is OPEN n -> BRANCH -> ... -> CLOSE n, with every alternative's chain ending at CLOSE n.
 */

// Opcodes and node accessors shared by the compiler and the matcher of CPatternMatcher.
namespace patternprog {

enum Opcode : unsigned char {
    END = 0, BOL = 1, EOL = 2, ANY = 3, ANYOF = 4, ANYBUT = 5, BRANCH = 6, BACK = 7,
    EXACTLY = 8, NOTHING = 9, STAR = 10, PLUS = 11, OPEN = 20, CLOSE = 30
};

constexpr int kNodeSize = 3;
constexpr int kMaxGroupNumber = 9;

// The node the next-offset leads to, nullptr for offset 0.
inline const unsigned char* nextNode(const unsigned char* node)
{
    const unsigned offset = node[1] | (node[2] << 8);
    if (offset == 0)
        return nullptr;
    return node[0] == BACK ? node - offset : node + offset;
}

inline unsigned char* nextNode(unsigned char* node)
{
    return const_cast<unsigned char*>(nextNode(static_cast<const unsigned char*>(node)));
}

inline const unsigned char* operandOf(const unsigned char* node) { return node + kNodeSize; }

// Whether byte is in the NUL-terminated operand of an ANYOF or ANYBUT node.
inline bool inOperand(const unsigned char* node, unsigned char byte)
{
    for (const unsigned char* p = operandOf(node); *p != 0; ++p)
        if (*p == byte)
            return true;
    return false;
}

inline bool isGroupMark(unsigned char opcode)
{
    return (opcode > OPEN && opcode <= OPEN + kMaxGroupNumber) ||
           (opcode > CLOSE && opcode <= CLOSE + kMaxGroupNumber);
}

} // namespace patternprog
