#pragma once
// GB2312 proper, on a character's two bytes in code page 936 (Qt's GBK codec). Code page 936 is
// wider: it adds thousands of characters (網, 絡) in other rows and byte ranges, its own signs in
// cells GB2312 leaves empty (ⅰ…ⅹ in row 2, vertical forms such as ︵ in row 6, ɑ ń ň ɡ in row 8)
// and user-defined rows; none of them is GB2312. Its own mapping of two GB2312 signs ("—" A1AA,
// "·" A1A4) is the one the program's texts use, so the check works on its bytes rather than on a
// strict GB2312 table. The tables' reader, the table generator, the typing test's byte counts and
// the lexicon data test share it.

#include <QStringEncoder>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>

namespace gb2312 {

// Whether the two bytes are a cell GB2312 assigns: rows 1-9 hold only their signs, rows 10-15
// nothing, rows 16-87 the characters, row 55 ending at cell 89.
inline bool isCell(unsigned char lead, unsigned char trail) {
    if (lead < 0xA1 || trail < 0xA1 || trail > 0xFE)
        return false;
    const int row = lead - 0xA0;
    const int cell = trail - 0xA0;
    const auto in = [cell](int from, int to) { return cell >= from && cell <= to; };
    switch (row) {
    case 1:
    case 3:
        return true;
    case 2:
        return in(17, 66) || in(69, 78) || in(81, 92);
    case 4:
        return in(1, 83);
    case 5:
        return in(1, 86);
    case 6:
        return in(1, 24) || in(33, 56);
    case 7:
        return in(1, 33) || in(49, 81);
    case 8:
        return in(1, 26) || in(37, 73);
    case 9:
        return in(4, 79);
    case 55:
        return in(1, 89);
    default:
        return row >= 16 && row <= 87;
    }
}

// Checks text against GB2312 with one encoder of code page 936 kept for many checks, stateless, so
// that one check never sees a surrogate left over from the previous one. Its error count is
// cleared before each check: Qt keeps it across calls even through resetState().
class Checker : public QStringEncoder {
public:
    Checker() : QStringEncoder("GBK", QStringEncoder::Flag::Stateless) {}
    // Whether every character of `text` is printable ASCII or GB2312 proper.
    bool holds(QStringView text) {
        QVarLengthArray<char, 256> out(requiredSpace(text.size()));
        state.invalidChars = 0;
        const char* end = appendToBuffer(out.data(), text);
        if (state.invalidChars != 0)
            return false;
        const auto* b = reinterpret_cast<const unsigned char*>(out.data());
        const auto* e = reinterpret_cast<const unsigned char*>(end);
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                if (b == e || *b != c.unicode() || c.unicode() < 0x20 || c.unicode() == 0x7F)
                    return false;
                ++b;
            } else {
                if (e - b < 2 || !isCell(b[0], b[1]))
                    return false;
                b += 2;
            }
        }
        return b == e;
    }
    // Whether `text` is not empty and every character of it is a double-byte one of GB2312 proper.
    bool isDoubleByteText(QStringView text) {
        return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; }) &&
               holds(text);
    }
};

} // namespace gb2312
