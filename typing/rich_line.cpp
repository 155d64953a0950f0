#include "rich_line.h"

#include "gb_text.h"

namespace typing {

RichLine::RichLine(QString name) : controls::Control(std::move(name)) {
    // Passage and mark lines show text only: they never take the focus or an edit.
    setEnabled(false);
    setTabStop(false);
}

int RichLine::length() const {
    return gb::byteLength(m_text);
}

} // namespace typing
