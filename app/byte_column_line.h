#pragma once
// The passage and mark lines of the typing test page.

#include <QString>
#include <QWidget>

#include <functional>

namespace app {

// A one-line text laid out in byte columns, as code page 936 counts it: a double-byte character
// fills two columns, a single-byte one a column. Marks drawn this way always stand under the
// characters they judge, whatever glyph widths the font has (its "×" is narrower than its Chinese
// characters). Drawn by hand, it tells assistive technology its text itself: the line's name and
// value are its text.
class ByteColumnLine : public QWidget {
public:
    explicit ByteColumnLine(QWidget* parent);
    const QString& text() const { return m_text; }
    void setText(const QString& text);
    // Where the first column starts, to line up with a line edit's text.
    void setTextLeft(int x) { m_left = x; }
    // The index of the character drawn at `x`, or -1.
    int indexAt(int x) const;
    // Runs with the index of the character clicked (-1 beside the text); unset, a click does nothing.
    std::function<void(int index)> onClick;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_text;
    int m_left = 0;
};

} // namespace app
