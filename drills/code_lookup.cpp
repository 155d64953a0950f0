#include "code_lookup.h"

#include "schema.h"
#include "table.h"

#include <algorithm>

namespace drills {

namespace {

using lexicon::schema::kLongestCode;

// A code of up to four letters a-z as a number in base 27, the letters from the left and a short
// code filled with zeros: the numbers sort as the codes do, and the codes beginning with `k`
// letters lie in [codeKey(letters), codeKey(letters) + 27^(4-k)). 0 for anything else.
quint32 codeKey(const QString& code) {
    if (code.isEmpty() || code.size() > kLongestCode)
        return 0;
    quint32 key = 0;
    for (int i = 0; i < kLongestCode; ++i) {
        key *= 27;
        if (i < code.size()) {
            const char16_t c = code.at(i).unicode();
            if (c < u'a' || c > u'z')
                return 0;
            key += c - u'a' + 1;
        }
    }
    return key;
}

quint32 keySpan(int letters) {
    quint32 span = 1;
    for (int i = letters; i < kLongestCode; ++i)
        span *= 27;
    return span;
}

bool isCodeLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// The text's characters, a surrogate pair as one.
QStringList characters(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        out << text.mid(i, n);
        i += n - 1;
    }
    return out;
}

bool isHan(const QString& character) {
    const char32_t c =
        character.size() == 2 ? QChar::surrogateToUcs4(character.at(0), character.at(1)) : character.at(0).unicode();
    return QChar::script(c) == QChar::Script_Han;
}

// "「網」「鬱」" for the first three of `list`, "等" after them when there are more; with its code
// point after each when `points` (a face without the character then still says which it is).
QString quoted(const QStringList& list, bool points = false) {
    QString s;
    for (qsizetype i = 0; i < std::min<qsizetype>(list.size(), 3); ++i) {
        s += QStringLiteral("「%1」").arg(list[i]);
        if (points)
            s += QStringLiteral("（U+%1）").arg(list[i].toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
    }
    if (list.size() > 3)
        s += QStringLiteral("等");
    return s;
}

} // namespace

bool LookupAnswer::operator==(const LookupAnswer& o) const {
    const auto sameCharacters = [](const CharacterAnswer& a, const CharacterAnswer& b) {
        return a.character == b.character && a.text == b.text && a.explanation == b.explanation;
    };
    const auto samePhrases = [](const PhraseAnswer& a, const PhraseAnswer& b) {
        return a.phrase == b.phrase && a.text == b.text && a.explanation == b.explanation;
    };
    const auto sameCandidates = [](const Candidate& a, const Candidate& b) {
        return a.code == b.code && a.text == b.text;
    };
    return code == o.code && moreCandidates == o.moreCandidates &&
           std::equal(characters.begin(), characters.end(), o.characters.begin(), o.characters.end(), sameCharacters) &&
           std::equal(phrases.begin(), phrases.end(), o.phrases.begin(), o.phrases.end(), samePhrases) &&
           std::equal(candidates.begin(), candidates.end(), o.candidates.begin(), o.candidates.end(), sameCandidates);
}

QString shortCodeName(int level) {
    static const char* const names[] = {"一级简码", "二级简码", "三级简码"};
    return level >= 1 && level <= 3 ? QString::fromUtf8(names[level - 1]) : QString();
}

CodeLookup::CodeLookup(controls::Focus& focus, QString dataFolder, PictureHints& pictures)
    : m_focus(focus), m_folder(std::move(dataFolder)), m_pictures(pictures), m_explainer(m_folder) {
    Edit30.onChange = [this] { Edit30Change(); };
    Label40.setCaption(QStringLiteral("输入汉字或词组，查它的五笔编码；输入一至四个字母，查这个编码打出的字词。"));
}

void CodeLookup::TabSheet8Show() {
    m_focus.set(Edit30);
    m_pictures.show(KeyboardMap::Roots);
    load();
}

void CodeLookup::load() {
    if (m_loaded)
        return;
    m_loaded = true;
    int order = 0;
    m_codes.reserve(8000);
    m_phraseCodes.reserve(65000);
    m_byCode.reserve(75000);
    const auto read = [&](const char* file, const lexicon::schema::CodeTable& fields, bool phrases) {
        lexicon::Table table{QStringLiteral("Table6")};
        try {
            table.open(m_folder, QLatin1String(file));
            table.forEachRow([&] {
                QString code;
                QString text;
                try {
                    code = table.read(fields.code);
                    text = table.read(fields.text);
                } catch (const lexicon::TableError& e) {
                    // A broken row is said, and left out; the rows after it are read on.
                    if (m_loadError.isEmpty())
                        m_loadError = e.message();
                    return;
                }
                if (code.isEmpty() || text.isEmpty())
                    return;
                if (phrases) {
                    if (!m_phraseCodes.contains(text))
                        m_phraseCodes.insert(text, code);
                    m_longestPhrase = std::max(m_longestPhrase, static_cast<int>(text.size()));
                } else {
                    // jm.db repeats first-level codes wb.db holds, and adds those of the key names.
                    QStringList& codes = m_codes[text];
                    if (codes.contains(code))
                        return;
                    codes << code;
                }
                if (const quint32 key = codeKey(code))
                    m_byCode.push_back({key, order++, code, text});
            });
        } catch (const lexicon::TableError& e) {
            if (m_loadError.isEmpty())
                m_loadError = e.message();
        }
    };
    read(lexicon::schema::kCharacterCodeFile, lexicon::schema::kCharacterCodes, false);
    read(lexicon::schema::kFirstLevelFile, lexicon::schema::kCharacterCodes, false);
    read(lexicon::schema::kPhraseCodeFile, lexicon::schema::kPhraseCodes, true);
    for (QStringList& codes : m_codes)
        std::stable_sort(codes.begin(), codes.end(),
                         [](const QString& a, const QString& b) { return a.size() < b.size(); });
    std::sort(m_byCode.begin(), m_byCode.end(),
              [](const Entry& a, const Entry& b) { return a.code != b.code ? a.code < b.code : a.order < b.order; });
}

void CodeLookup::Edit30Change() {
    m_answer = {};
    m_explanationFault.clear();
    const QString text = Edit30.text().trimmed();
    if (text.isEmpty()) {
        Label40.setCaption(QStringLiteral("输入汉字或词组，查它的五笔编码；输入一至四个字母，查这个编码打出的字词。"));
        return;
    }
    load();
    if (std::all_of(text.begin(), text.end(), isCodeLetter))
        lookUpCode(text.toLower());
    else
        lookUpText(text);
    // A table that could not be read is the first thing to say: it explains a missing answer; so
    // does a broken explanation row a missing explanation.
    if (!m_loadError.isEmpty())
        Label40.setCaption(m_loadError);
    else if (!m_explanationFault.isEmpty())
        Label40.setCaption(m_explanationFault);
}

void CodeLookup::lookUpCode(const QString& letters) {
    if (letters.size() > kLongestCode) {
        Label40.setCaption(QStringLiteral("五笔编码最多四个字母，“%1”不是编码。").arg(letters.left(kLongestCode + 4)));
        return;
    }
    m_answer.code = letters;
    const quint32 from = codeKey(letters);
    const quint32 to = from + keySpan(static_cast<int>(letters.size()));
    auto it = std::lower_bound(m_byCode.begin(), m_byCode.end(), from,
                               [](const Entry& e, quint32 key) { return e.key < key; });
    int found = 0;
    for (; from != 0 && it != m_byCode.end() && it->key < to; ++it) {
        if (found++ < kMostCandidates)
            m_answer.candidates << Candidate{it->code, it->text};
    }
    m_answer.moreCandidates = std::max(0, found - kMostCandidates);
    if (found == 0) {
        Label40.setCaption(QStringLiteral("没有以 %1 开头的五笔编码。").arg(letters));
        return;
    }
    QString caption = QStringLiteral("编码 %1 及以它开头的编码，共 %2 个字词").arg(letters).arg(found);
    if (m_answer.moreCandidates > 0)
        caption += QStringLiteral("，列出前 %1 个").arg(kMostCandidates);
    Label40.setCaption(caption + QStringLiteral("："));
}

CharacterAnswer CodeLookup::characterAnswer(const QString& hz) {
    CharacterAnswer a;
    a.character = hz;
    const QStringList& codes = m_codes[hz];
    a.fullCode = codes.last();
    QStringList said{QStringLiteral("全码 %1").arg(a.fullCode)};
    for (int level = 1; level <= 3; ++level) {
        QString code;
        for (const QString& c : codes)
            if (c.size() == level && c.size() < a.fullCode.size()) {
                code = c;
                break;
            }
        a.shortCodes << code;
        if (!code.isEmpty())
            said << shortCodeName(level) + QLatin1Char(' ') + code;
    }
    a.explanation = m_explainer.character(hz);
    if (m_explanationFault.isEmpty())
        m_explanationFault = m_explainer.fault();
    a.text = hz + QStringLiteral("：") + said.join(QStringLiteral("，")) + QStringLiteral("。") +
             (a.explanation.text.isEmpty() ? QStringLiteral("拆分暂无说明。")
                                           : QStringLiteral("拆分：") + a.explanation.text);
    return a;
}

void CodeLookup::lookUpText(const QString& whole) {
    // However much was pasted, only the start is split up.
    QStringList all = characters(whole.left(2 * (kLongestText + 1)));
    const bool cut = all.size() > kLongestText;
    all = all.mid(0, kLongestText);
    QStringList notGb2312;
    QStringList notHan;
    QString run; // the characters looked up, in order, for the phrases among them
    for (const QString& c : all) {
        if (c.trimmed().isEmpty())
            continue;
        if (m_codes.contains(c)) {
            m_answer.characters << characterAnswer(c);
            run += c;
        } else if (isHan(c)) {
            notGb2312 << c;
        } else {
            notHan << c;
        }
    }
    // The phrases of the table in the run, longest first from the left.
    for (qsizetype i = 0; i + 1 < run.size();) {
        qsizetype length = std::min<qsizetype>(m_longestPhrase, run.size() - i);
        for (; length >= 2; --length) {
            if (m_phraseCodes.contains(run.mid(i, length)))
                break;
        }
        if (length < 2) {
            ++i;
            continue;
        }
        PhraseAnswer p;
        p.phrase = run.mid(i, length);
        p.code = m_phraseCodes.value(p.phrase);
        p.explanation = m_explainer.phrase(p.phrase, p.code);
        p.text = QStringLiteral("词组%1：编码 %2。").arg(p.phrase, p.code) + p.explanation.text;
        m_answer.phrases << p;
        i += length;
    }

    QStringList said;
    if (!m_answer.characters.isEmpty()) {
        QString found = QStringLiteral("%1 个字").arg(m_answer.characters.size());
        if (!m_answer.phrases.isEmpty())
            found += QStringLiteral("，%1 个词组").arg(m_answer.phrases.size());
        said << found;
    }
    if (!notGb2312.isEmpty())
        said << quoted(notGb2312, true) + QStringLiteral("不在 GB2312 字符集内，码表里没有");
    if (!notHan.isEmpty())
        said << quoted(notHan) + QStringLiteral("不是汉字，没有五笔编码");
    if (cut)
        said << QStringLiteral("一次最多查 %1 个字，后面的没有查").arg(kLongestText);
    Label40.setCaption(said.join(QStringLiteral("；")) + QStringLiteral("。"));
}

} // namespace drills
