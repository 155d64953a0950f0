#pragma once
// A one-line rich-text box of the typing test (a passage line or a mark line): a text with a caret
// and a selection counted in GB2312 bytes, so that "the two bytes at offset p" names exactly the
// mark under the character that ends at byte p + 2. It is never edited by the learner.

#include <controls.h>

#include <QString>

namespace typing {

class RichLine : public controls::Control {
public:
    explicit RichLine(QString name);

    const QString& text() const { return m_text; }
    // Assigning the text puts the caret at the start with nothing selected.
    void setText(const QString& t);

    // Length, caret and selection, in bytes.
    int length() const;
    int caret() const { return m_caret; }
    int selectionLength() const { return m_selection; }
    void setCaret(int byteOffset);
    void select(int byteOffset, int byteCount);

    // Replaces the selection with `s` and leaves the caret just after it. A selection that would
    // split a double-byte character is widened to whole characters first: a mark is replaced
    // whole or not at all, never half of it.
    void replaceSelection(const QString& s);

    // Selects `byteCount` bytes at `byteOffset` and replaces them with `s`. Does nothing when the
    // bytes do not all lie inside the text.
    void replaceBytes(int byteOffset, int byteCount, const QString& s);

private:
    QString m_text;
    int m_caret = 0;
    int m_selection = 0;
};

} // namespace typing
