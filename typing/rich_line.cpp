#include "rich_line.h"

#include "gb_text.h"

#include <algorithm>

namespace typing {

namespace {

// The index of the character that holds byte `byteOffset` (rounding down into a double-byte
// character), or the text's size at or past the end.
int charFloor(const QString& text, int byteOffset) {
    int bytes = 0;
    for (int i = 0; i < text.size(); ++i) {
        bytes += gb::byteLength(QString(text.at(i)));
        if (bytes > byteOffset)
            return i;
    }
    return static_cast<int>(text.size());
}

// The index of the first character that begins at or after byte `byteOffset`.
int charCeil(const QString& text, int byteOffset) {
    int bytes = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (bytes >= byteOffset)
            return i;
        bytes += gb::byteLength(QString(text.at(i)));
    }
    return static_cast<int>(text.size());
}

} // namespace

RichLine::RichLine(QString name) : controls::Control(std::move(name)) {
    // Passage and mark lines show text only: they never take the focus or an edit.
    setEnabled(false);
    setTabStop(false);
}

void RichLine::setText(const QString& t) {
    m_text = t;
    m_caret = 0;
    m_selection = 0;
}

int RichLine::length() const {
    return gb::byteLength(m_text);
}

void RichLine::setCaret(int byteOffset) {
    m_caret = std::clamp(byteOffset, 0, length());
    m_selection = 0;
}

void RichLine::select(int byteOffset, int byteCount) {
    const int len = length();
    m_caret = std::clamp(byteOffset, 0, len);
    m_selection = std::clamp(byteCount, 0, len - m_caret);
}

void RichLine::replaceSelection(const QString& s) {
    const int first = charFloor(m_text, m_caret);
    const int last = m_selection > 0 ? charCeil(m_text, m_caret + m_selection) : first;
    m_text.replace(first, last - first, s);
    m_caret = gb::byteOffset(m_text, first + static_cast<int>(s.size()));
    m_selection = 0;
}

void RichLine::replaceBytes(int byteOffset, int byteCount, const QString& s) {
    if (byteOffset < 0 || byteCount < 0 || byteOffset + byteCount > length())
        return;
    select(byteOffset, byteCount);
    replaceSelection(s);
}

} // namespace typing
