#include "dictionary.h"

#include "code_explanation.h"
#include "gb2312.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <stdexcept>

namespace gen {

namespace {

// The two GB2312 bytes of a character, or nothing when it has none. Cached: the generator asks
// about the same few thousand characters hundreds of thousands of times.
QByteArray gb2312Bytes(QChar c) {
    static QHash<char16_t, QByteArray> cache;
    const auto it = cache.constFind(c.unicode());
    if (it != cache.constEnd())
        return *it;
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        throw std::runtime_error("this Qt has no GBK encoder");
    QByteArray b = encoder.encode(QString(c));
    if (encoder.hasError() || b.size() != 2)
        b.clear();
    else {
        const auto lead = static_cast<unsigned char>(b[0]);
        const auto trail = static_cast<unsigned char>(b[1]);
        if (lead < 0xA1 || lead > 0xF7 || trail < 0xA1 || trail > 0xFE)
            b.clear();
    }
    cache.insert(c.unicode(), b);
    return b;
}

bool validCode(const QString& code) {
    if (code.isEmpty() || code.size() > 4)
        return false;
    return std::all_of(code.begin(), code.end(),
                       [](QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('y'); });
}

} // namespace

bool isGb2312(const QString& text) {
    // The reader's own check: the cells GB2312 assigns, not the whole byte rectangle.
    static gb2312::Checker checker;
    return checker.isDoubleByteText(text);
}

bool isGb2312Hanzi(const QString& ch) {
    if (ch.size() != 1 || !isGb2312(ch))
        return false;
    return static_cast<unsigned char>(gb2312Bytes(ch[0])[0]) >= 0xB0;
}

bool isLevel1(const QString& ch) {
    return isGb2312Hanzi(ch) && static_cast<unsigned char>(gb2312Bytes(ch[0])[0]) <= 0xD7;
}

bool allLevel1(const QString& text) {
    const QStringList cs = characters(text);
    return std::all_of(cs.begin(), cs.end(), isLevel1);
}

QStringList characters(const QString& text) {
    QStringList out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            out << text.mid(i, 2);
            ++i;
        } else {
            out << QString(text[i]);
        }
    }
    return out;
}

QString Dictionary::fullCode(const QString& hz) const {
    const auto it = codesOf.constFind(hz);
    return it == codesOf.constEnd() || it->isEmpty() ? QString() : it->last();
}

double Dictionary::weight(const QString& text, const QString& code) const {
    return weightOf.value(text + QLatin1Char('\t') + code, 0);
}

QString phraseCode(const QString& phrase, const Dictionary& dict) {
    const QStringList cs = characters(phrase);
    if (cs.size() < 2)
        return {};
    QStringList full;
    for (const QString& c : cs) {
        full << dict.fullCode(c);
        if (full.last().isEmpty())
            return {};
    }
    return drills::phraseCode(full);
}

Dictionary readDictionary(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString() + ": " + file.errorString().toStdString());
    const QString all = QString::fromUtf8(file.readAll());
    const QStringList lines = all.split(QLatin1Char('\n'));

    Dictionary dict;
    bool inRows = false;
    int order = 0;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!inRows) {
            inRows = line == QLatin1String("...");
            continue;
        }
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('#'))) {
            ++dict.commentedOut;
            continue;
        }
        const QStringList cols = line.split(QLatin1Char('\t'));
        if (cols.size() < 2)
            continue;
        Entry e{cols[0], cols[1], cols.size() > 2 ? cols[2].toDouble() : 0.0, order++};
        // z is the wildcard key of the input method, never part of a character's code.
        if (e.code.startsWith(QLatin1Char('z')) || !validCode(e.code)) {
            ++dict.notWubiCodes;
            continue;
        }
        if (!isGb2312(e.text)) {
            ++dict.notGb2312;
            continue;
        }
        if (e.text.size() == 1) {
            dict.characters << e;
            QStringList& codes = dict.codesOf[e.text];
            if (!codes.contains(e.code))
                codes << e.code;
        } else {
            dict.phrases << e;
        }
        const QString key = e.text + QLatin1Char('\t') + e.code;
        dict.weightOf[key] = std::max(dict.weightOf.value(key, 0), e.weight);
    }
    if (!inRows || (dict.characters.isEmpty() && dict.phrases.isEmpty()))
        throw std::runtime_error("no dictionary rows in " + path.toStdString());
    for (QStringList& codes : dict.codesOf)
        std::stable_sort(codes.begin(), codes.end(), [](const QString& a, const QString& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
    return dict;
}

} // namespace gen
