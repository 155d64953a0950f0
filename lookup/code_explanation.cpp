#include "code_explanation.h"

#include "schema.h"

namespace drills {

namespace {

std::optional<Stroke> strokeOf(QChar c) {
    switch (c.unicode()) {
    case 'h':
        return Stroke::Heng;
    case 's':
        return Stroke::Shu;
    case 'p':
        return Stroke::Pie;
    case 'n':
        return Stroke::Na;
    case 'z':
        return Stroke::Zhe;
    default:
        return std::nullopt;
    }
}

bool isAscii(QChar c) {
    return c.unicode() < 0x80;
}

const QString kPlus = QStringLiteral(" ＋ ");

QString rootText(const SplitRoot& r) {
    if (!r.text.isEmpty())
        return r.text;
    return QStringLiteral("字根图%1").arg(r.picture);
}

} // namespace

QChar strokeKey(Stroke s) {
    static const char keys[] = "ghtyn";
    return QLatin1Char(keys[int(s)]);
}

QString strokeName(Stroke s) {
    static const char16_t names[] = u"横竖撇捺折";
    return QString(QChar(names[int(s)]));
}

QString shapeName(Shape s) {
    switch (s) {
    case Shape::LeftRight:
        return QStringLiteral("左右");
    case Shape::TopBottom:
        return QStringLiteral("上下");
    case Shape::Mixed:
        return QStringLiteral("杂合");
    }
    return {};
}

// The identification letters by last stroke (in the order of Stroke), each zone's three keys by
// shape (in the order of Shape). tools/gen_splits/gen_splits.py reads this line.
const char* const kIdentificationZones[] = {"gfd", "hjk", "tre", "yui", "nbv"};

QChar identificationLetter(Stroke last, Shape shape) {
    return QLatin1Char(kIdentificationZones[int(last)][int(shape) - 1]);
}

bool isIdentificationLetter(QChar c) {
    for (const char* zone : kIdentificationZones) {
        for (const char* k = zone; *k; ++k) {
            if (c == QLatin1Char(*k))
                return true;
        }
    }
    return false;
}

std::optional<Split> parseSplit(QStringView field) {
    Split split;
    qsizetype i = 0;
    const qsizetype n = field.size();
    while (i < n && field[i] != QLatin1Char(' ')) {
        SplitRoot r;
        const qsizetype from = i;
        while (i < n && !isAscii(field[i]))
            ++i;
        r.text = field.mid(from, i - from).toString();
        // A picture number has at most three digits: a longer run is a broken field, refused before
        // it can overflow.
        for (int digits = 0; i < n && field[i].isDigit(); ++digits) {
            if (digits == 3)
                return std::nullopt;
            r.picture = r.picture * 10 + field[i++].digitValue();
        }
        if (i >= n || !lexicon::schema::isCodeLetter(field[i]) || (r.text.isEmpty() && r.picture == 0))
            return std::nullopt;
        r.key = field[i++];
        split.roots << r;
    }
    if (split.roots.isEmpty())
        return std::nullopt;
    const QStringView extra = i < n ? field.mid(i + 1) : QStringView();
    if (i < n && extra.isEmpty())
        return std::nullopt;
    if (extra.startsWith(QLatin1Char('!')) && extra.size() <= 2) {
        if (extra.size() == 2 && !QStringView(u"oir").contains(extra[1]))
            return std::nullopt;
        split.exception = true;
        split.exceptionRule = extra.size() == 2 ? char(extra[1].unicode()) : 0;
        return split;
    }
    const bool shaped = extra.size() == 2 && extra[1] >= QLatin1Char('1') && extra[1] <= QLatin1Char('3');
    if (split.roots.size() == 1) {
        if (extra.isEmpty()) {
            split.kind = Split::Kind::KeyName;
            return split;
        }
        if (shaped || extra.size() > 3)
            return std::nullopt;
        split.kind = Split::Kind::CharacterRoot;
        for (QChar c : extra) {
            const auto s = strokeOf(c);
            if (!s)
                return std::nullopt;
            split.strokes << *s;
        }
        return split;
    }
    if (split.roots.size() >= 4)
        return extra.isEmpty() ? std::optional<Split>(split) : std::nullopt;
    const auto last = shaped ? strokeOf(extra[0]) : std::nullopt;
    if (!last)
        return std::nullopt;
    split.identified = true;
    split.last = *last;
    split.shape = Shape(extra[1].digitValue());
    return split;
}

bool rootCounts(const Split& split, int index) {
    const int count = int(split.roots.size());
    return index < 3 || index == count - 1;
}

bool explains(const Split& split, const QString& fullCode) {
    return !fullCode.isEmpty() && (split.exception || codeOf(split) == fullCode);
}

namespace {

// A split's explanation, built once: the strip's cells, and the words that say each part, for
// all but the cells the words pass over (a key name's reason, an exception's code). The code is
// the cells' letters; an exception's is the table's and not the roots'.
struct Parts {
    QList<ExplanationCell> cells;
    QStringList words;
};

ExplanationCell rootCell(const SplitRoot& r, const QString& letters) {
    return {ExplanationCell::Kind::Root, r.text, r.picture, letters};
}

// What the strip says over an exception's code, short: which rule the code breaks.
QString exceptionLabel(char rule) {
    switch (rule) {
    case 'o':
        return QStringLiteral("码序例外");
    case 'i':
        return QStringLiteral("识别码例外");
    case 'r':
        return QStringLiteral("字根例外");
    default:
        return QStringLiteral("例外");
    }
}

// The same in words.
QString exceptionWords(char rule) {
    switch (rule) {
    case 'o':
        return QStringLiteral("不按书写顺序取字根");
    case 'i':
        return QStringLiteral("识别码不是末笔和字型给的那个");
    case 'r':
        return QStringLiteral("取的字根不是这个字写出来的字根");
    default:
        return QStringLiteral("不由字根取码");
    }
}

Parts partsOf(const Split& split, const QString& fullCode) {
    Parts p;
    const SplitRoot& first = split.roots.first();
    if (split.exception) {
        for (const SplitRoot& r : split.roots) {
            p.cells << rootCell(r, QString());
            p.words << rootText(r);
        }
        p.cells << ExplanationCell{ExplanationCell::Kind::Reason, exceptionLabel(split.exceptionRule), 0, fullCode};
        return p;
    }
    switch (split.kind) {
    case Split::Kind::KeyName:
        p.cells << rootCell(first, QString(4, first.key))
                << ExplanationCell{ExplanationCell::Kind::Reason, QStringLiteral("键名"), 0, QString()};
        p.words << QStringLiteral("键名字，键名 %1 连打四次").arg(first.key);
        return p;
    case Split::Kind::CharacterRoot: {
        if (split.strokes.size() <= 1) {
            // A single stroke: its key twice, then "ll".
            p.cells << rootCell(first, QString(2, first.key))
                    << ExplanationCell{ExplanationCell::Kind::Reason, QStringLiteral("单笔"), 0, QStringLiteral("ll")};
            p.words << QStringLiteral("单笔画，%1 %1").arg(first.key) << QStringLiteral("l l");
            return p;
        }
        static const QString order[] = {QStringLiteral("首笔"), QStringLiteral("次笔"), QStringLiteral("末笔")};
        p.cells << rootCell(first, first.key);
        p.words << QStringLiteral("成字字根，键 %1").arg(first.key);
        for (int i = 0; i < split.strokes.size(); ++i) {
            const Stroke s = split.strokes[i];
            p.cells << ExplanationCell{ExplanationCell::Kind::Text, strokeName(s), 0, strokeKey(s)};
            p.words << order[i] + strokeName(s) + QLatin1Char(' ') + strokeKey(s);
        }
        return p;
    }
    case Split::Kind::Roots:
        break;
    }
    for (int i = 0; i < split.roots.size(); ++i) {
        const SplitRoot& r = split.roots[i];
        const bool counts = rootCounts(split, i);
        p.cells << rootCell(r, counts ? QString(r.key) : QString());
        p.cells.last().counted = counts;
        p.words << (counts ? rootText(r) + QLatin1Char(' ') + r.key : QStringLiteral("（%1）").arg(rootText(r)));
    }
    if (split.identified) {
        const QChar letter = identificationLetter(split.last, split.shape);
        p.cells << ExplanationCell{ExplanationCell::Kind::Reason, strokeName(split.last) + shapeName(split.shape), 0,
                                   letter};
        p.words << QStringLiteral("识别码 %1（末笔%2，%3型）")
                       .arg(letter)
                       .arg(strokeName(split.last), shapeName(split.shape));
    }
    return p;
}

QString codeOfCells(const QList<ExplanationCell>& cells) {
    QString code;
    for (const ExplanationCell& c : cells)
        code += c.letters;
    return code;
}

} // namespace

QList<ExplanationCell> cellsOf(const Split& split, const QString& fullCode) {
    return partsOf(split, fullCode).cells;
}

QString codeOf(const Split& split) {
    return split.exception ? QString() : codeOfCells(partsOf(split, QString()).cells);
}

QString explanationText(const QString& character, const Split& split, const QString& fullCode) {
    const Parts p = partsOf(split, fullCode);
    const QString words = character + QStringLiteral("：") + p.words.join(kPlus);
    if (split.exception)
        return words + QStringLiteral("；编码 %1 是词典的例外，%2").arg(fullCode, exceptionWords(split.exceptionRule));
    return words + QStringLiteral(" ＝ ") + codeOfCells(p.cells);
}

namespace {

// A first-level code stands for its key's own character, whatever the full code begins with.
bool isFirstLevel(const QString& shown, const QString& fullCode) {
    return shown.size() == 1 && !fullCode.isEmpty() && shown != fullCode;
}

} // namespace

QString shortCodeNote(const QString& shown, const QString& fullCode) {
    if (shown.isEmpty() || fullCode.isEmpty() || shown == fullCode)
        return {};
    const QString full = QStringLiteral("全码 ") + fullCode + QLatin1Char('\n');
    if (isFirstLevel(shown, fullCode))
        return full + QStringLiteral("一级简码");
    if (!fullCode.startsWith(shown))
        return {};
    static const QString counts[] = {QString(), QString(), QStringLiteral("两"), QStringLiteral("三")};
    return full +
           QStringLiteral("取前%1码").arg(shown.size() < 4 ? counts[shown.size()] : QString::number(shown.size()));
}

QString shortCodeText(const QString& shown, const QString& fullCode, const QString& text) {
    if (text.isEmpty() || !isFirstLevel(shown, fullCode))
        return text;
    return QStringLiteral("一级简码 %1；全码 ").arg(shown) + text;
}

QStringList phraseLetters(const QStringList& fullCodes) {
    const qsizetype n = fullCodes.size();
    if (n < 2)
        return {};
    for (const QString& c : fullCodes) {
        if (c.size() < 2)
            return {};
    }
    QStringList out(n);
    if (n == 2) {
        out[0] = fullCodes[0].left(2);
        out[1] = fullCodes[1].left(2);
    } else if (n == 3) {
        out[0] = fullCodes[0].left(1);
        out[1] = fullCodes[1].left(1);
        out[2] = fullCodes[2].left(2);
    } else {
        out[0] = fullCodes[0].left(1);
        out[1] = fullCodes[1].left(1);
        out[2] = fullCodes[2].left(1);
        out[n - 1] = fullCodes[n - 1].left(1);
    }
    return out;
}

QString phraseCode(const QStringList& fullCodes) {
    return phraseLetters(fullCodes).join(QString());
}

QString phraseExplanationText(const QStringList& characters, const QStringList& letters) {
    QStringList parts;
    QString code;
    for (qsizetype i = 0; i < characters.size() && i < letters.size(); ++i) {
        if (letters[i].isEmpty())
            continue;
        parts << characters[i] + QLatin1Char(' ') + letters[i];
        code += letters[i];
    }
    return parts.join(kPlus) + QStringLiteral(" ＝ ") + code;
}

PhrasePlace phrasePlace(const QString& phrase) {
    if (phrase.size() < 2)
        return PhrasePlace::None;
    return phrase.size() <= 4 ? PhrasePlace::Hint : PhrasePlace::LongPhrasePanel;
}

QList<ExplanationCell> phraseExceptionCells(const QStringList& characters, const QString& code) {
    QList<ExplanationCell> cells;
    for (const QString& c : characters) {
        cells << ExplanationCell{ExplanationCell::Kind::Text, c, 0, QString()};
        cells.last().counted = false;
    }
    cells << ExplanationCell{ExplanationCell::Kind::Reason, QStringLiteral("词组例外"), 0, code};
    return cells;
}

QString phraseExceptionText(const QStringList& characters, const QString& code, const QString& ruleCode) {
    QString text = characters.join(QString()) + QStringLiteral("：编码 %1 是词典的例外，不按词组取码规则").arg(code);
    if (!ruleCode.isEmpty())
        text += QStringLiteral("（按规则是 %1）").arg(ruleCode);
    return text;
}

} // namespace drills
