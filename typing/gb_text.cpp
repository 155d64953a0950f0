#include "gb_text.h"

#include "gb2312.h"

#include <QStringEncoder>

namespace gb {

namespace {

// One encoder serves every call, without state: a stateful one keeps a lone high surrogate from
// one call and pairs it with the next call's first character, so a length would depend on the
// text measured before. Its error flag is sticky, which is why the check for unencodable
// characters uses a fresh one.
QStringEncoder& sharedEncoder() {
    static QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    return encoder;
}

} // namespace

QByteArray encode(const QString& text) {
    QByteArray bytes = sharedEncoder().encode(text);
    // The converter drops a high surrogate at the very end, waiting for a pair that never comes;
    // it is one unencodable character like any other.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        bytes += '?';
    return bytes;
}

int byteLength(const QString& text) {
    return static_cast<int>(encode(text).size());
}

bool isDoubleByte(QChar c) {
    if (c.isSurrogate())
        return false;
    static thread_local gb2312::Checker checker;
    return checker.isDoubleByteText(QStringView(&c, 1));
}

bool isHanzi(QChar c) {
    if (!isDoubleByte(c))
        return false;
    const QByteArray bytes = encode(QString(c));
    const auto lead = static_cast<unsigned char>(bytes.at(0));
    return lead >= 0xB0 && lead <= 0xF7;
}

bool isSingleByte(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() < 0x7F;
}

bool isTypeable(const QString& text) {
    for (QChar c : text)
        if (!isSingleByte(c) && !isDoubleByte(c))
            return false;
    return true;
}

} // namespace gb
