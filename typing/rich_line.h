#pragma once
// A one-line rich-text box of the typing test (a passage line or a mark line). It is never edited
// by the learner: the test sets its text whole.

#include <controls.h>

#include <QString>

namespace typing {

class RichLine : public controls::Control {
public:
    explicit RichLine(QString name);

    const QString& text() const { return m_text; }
    void setText(const QString& t) { m_text = t; }

    // Length in GB2312 bytes, as the typed lines' limits are counted.
    int length() const;

private:
    QString m_text;
};

} // namespace typing
