#include "code_lookup.h"

#include "schema.h"
#include "table.h"

#include <algorithm>

namespace drills {

namespace {

using lexicon::schema::kLongestCode;
namespace schema = lexicon::schema;

char32_t codePoint(const QString& character) {
    return character.size() == 2 ? QChar::surrogateToUcs4(character.at(0), character.at(1)) : character.at(0).unicode();
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

// What separates the pieces of the text: a space of any width, a line break, and the invisible
// format characters (a zero-width space) that a paste brings along.
bool isBlank(const QString& character) {
    const char32_t c = codePoint(character);
    return QChar::isSpace(c) || QChar::category(c) == QChar::Other_Format;
}

// A character a face can draw: not a control, a lone surrogate, a private or unassigned point.
bool isPrintable(const QString& character) {
    switch (QChar::category(codePoint(character))) {
    case QChar::Other_Control:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

QString pointOf(const QString& character) {
    return QStringLiteral("U+") +
           QString::number(codePoint(character), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// "「網」（U+7DB2）「鬱」（U+9B31）" for the first three of `list`, "等" after them when there are
// more. A character outside GB2312 comes with its code point, so the line says which it is where a
// face cannot draw it; one no face draws (a control) is its code point alone.
QString quoted(const QStringList& list, gb2312::Checker& gb2312) {
    QString s;
    for (qsizetype i = 0; i < std::min<qsizetype>(list.size(), 3); ++i) {
        const QString& c = list[i];
        if (!isPrintable(c))
            s += QStringLiteral("「%1」").arg(pointOf(c));
        else if (gb2312.holds(c))
            s += QStringLiteral("「%1」").arg(c);
        else
            s += QStringLiteral("「%1」（%2）").arg(c, pointOf(c));
    }
    if (list.size() > 3)
        s += QStringLiteral("等");
    return s;
}

// Two lists in code order as one, a character before a phrase on the same code.
QList<Candidate> merged(const QList<Candidate>& characters, const QList<Candidate>& phrases) {
    QList<Candidate> out;
    qsizetype i = 0, j = 0;
    while (i < characters.size() || j < phrases.size()) {
        if (j == phrases.size() || (i < characters.size() && characters[i].code <= phrases[j].code))
            out << characters[i++];
        else
            out << phrases[j++];
    }
    return out;
}

const QString kPrompt =
    QStringLiteral("输入汉字或词组，查它的五笔编码；输入一至四个字母，查这个编码打出的字词（z 代表任一字母）。");

} // namespace

bool LookupAnswer::operator==(const LookupAnswer& o) const {
    const auto sameCharacters = [](const CharacterAnswer& a, const CharacterAnswer& b) {
        return a.character == b.character && a.text == b.text && a.explanation == b.explanation;
    };
    const auto samePhrases = [](const PhraseAnswer& a, const PhraseAnswer& b) {
        return a.phrase == b.phrase && a.text == b.text && a.explanation == b.explanation;
    };
    const auto sameCandidates = [](const Candidate& a, const Candidate& b) {
        return a.code == b.code && a.text == b.text && a.kind == b.kind;
    };
    const auto sameCodes = [&](const CodeAnswer& a, const CodeAnswer& b) {
        return a.code == b.code && a.moreCandidates == b.moreCandidates &&
               std::equal(a.candidates.begin(), a.candidates.end(), b.candidates.begin(), b.candidates.end(),
                          sameCandidates);
    };
    return std::equal(characters.begin(), characters.end(), o.characters.begin(), o.characters.end(), sameCharacters) &&
           std::equal(phrases.begin(), phrases.end(), o.phrases.begin(), o.phrases.end(), samePhrases) &&
           std::equal(codes.begin(), codes.end(), o.codes.begin(), o.codes.end(), sameCodes);
}

QString shortCodeName(int level) {
    static const char* const names[] = {"一级简码", "二级简码", "三级简码"};
    return level >= 1 && level <= 3 ? QString::fromUtf8(names[level - 1]) : QString();
}

CodeLookup::CodeLookup(controls::Focus& focus, QString dataFolder, PictureHints& pictures)
    : m_focus(focus), m_folder(std::move(dataFolder)), m_pictures(pictures), m_explainer(m_folder) {
    Edit30.onChange = [this] { Edit30Change(); };
    Label40.setCaption(kPrompt);
}

void CodeLookup::TabSheet8Show() {
    m_focus.set(Edit30);
    m_pictures.show(KeyboardMap::Roots);
    ready();
}

bool CodeLookup::ready() {
    m_loadError.clear();
    const auto open = [this](lexicon::Table& table, const char* file) {
        if (table.isOpen())
            return;
        try {
            table.open(m_folder, QLatin1String(file));
        } catch (const lexicon::TableError& e) {
            if (m_loadError.isEmpty())
                m_loadError = e.message();
        }
    };
    open(m_characterCodes, schema::kLookupCodeFile);
    open(m_phraseCodes, schema::kPhraseCodeFile);
    return m_loadError.isEmpty();
}

void CodeLookup::candidateClick(int code, int index) {
    const Candidate c = m_answer.codes.value(code).candidates.value(index);
    if (c.text.isEmpty())
        return;
    m_focus.set(Edit30);
    Edit30.setText(c.text);
}

void CodeLookup::Edit30Change() {
    m_answer = {};
    m_explanationFault.clear();
    const QString text = Edit30.text().trimmed();
    if (text.isEmpty()) {
        Label40.setCaption(kPrompt);
        return;
    }
    ready();
    try {
        lookUpText(text);
    } catch (const lexicon::TableError& e) {
        // A table that fails half-way answers nothing rather than half an answer.
        m_answer = {};
        m_loadError = e.message();
    }
    // A table that could not be read is the first thing to say: it explains a missing answer; so
    // does a broken explanation row a missing explanation.
    if (!m_loadError.isEmpty())
        Label40.setCaption(m_loadError);
    else if (!m_explanationFault.isEmpty())
        Label40.setCaption(m_explanationFault);
}

QStringList CodeLookup::codesOf(const QString& hz) {
    if (!m_characterCodes.isOpen())
        return {};
    const auto known = m_codesOf.constFind(hz);
    if (known != m_codesOf.constEnd())
        return *known;
    QStringList codes;
    m_characterCodes.forEachMatch(schema::kCharacterCodes.text, hz,
                                  [&] { codes << m_characterCodes.read(schema::kCharacterCodes.code); });
    codes.removeDuplicates();
    std::stable_sort(codes.begin(), codes.end(),
                     [](const QString& a, const QString& b) { return a.size() < b.size(); });
    m_codesOf.insert(hz, codes);
    return codes;
}

QString CodeLookup::kindOf(const QString& hz, const QString& code) {
    const QStringList codes = codesOf(hz);
    return !codes.isEmpty() && code == codes.last() ? QStringLiteral("全码") : shortCodeName(int(code.size()));
}

CodeAnswer CodeLookup::lookUpCode(const QString& letters, int most) {
    CodeAnswer a;
    a.code = letters;
    QString pattern = letters;
    pattern.replace(QChar(kAnyLetter), QLatin1Char('?'));
    int found = 0;
    const auto match = [&](const QString& glob) {
        QList<Candidate> characters;
        QList<Candidate> phrases;
        if (m_characterCodes.isOpen())
            found += m_characterCodes.forEachRowMatching(schema::kCharacterCodes.code, glob, most, [&] {
                characters << Candidate{m_characterCodes.read(schema::kCharacterCodes.code),
                                        m_characterCodes.read(schema::kCharacterCodes.text), QString()};
            });
        if (m_phraseCodes.isOpen())
            found += m_phraseCodes.forEachRowMatching(schema::kPhraseCodes.code, glob, most, [&] {
                phrases << Candidate{m_phraseCodes.read(schema::kPhraseCodes.code),
                                     m_phraseCodes.read(schema::kPhraseCodes.text), QStringLiteral("词组")};
            });
        return merged(characters, phrases);
    };
    // The code itself first, then the longer codes that begin with it.
    QList<Candidate> all = match(pattern);
    if (letters.size() < kLongestCode)
        all += match(pattern + QStringLiteral("?*"));
    a.candidates = all.mid(0, most);
    for (Candidate& c : a.candidates)
        if (c.kind.isEmpty())
            c.kind = kindOf(c.text, c.code);
    a.moreCandidates = found - static_cast<int>(a.candidates.size());
    return a;
}

CharacterAnswer CodeLookup::characterAnswer(const QString& hz, const QStringList& codes) {
    CharacterAnswer a;
    a.character = hz;
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

void CodeLookup::findPhrases(const QString& run) {
    if (!m_phraseCodes.isOpen())
        return;
    for (qsizetype i = 0; i + 1 < run.size();) {
        qsizetype length = std::min<qsizetype>(schema::kLongestValue, run.size() - i);
        for (; length >= 2; --length) {
            if (m_phraseCodes.locate(schema::kPhraseCodes.text, run.mid(i, length)))
                break;
        }
        if (length < 2) {
            ++i;
            continue;
        }
        PhraseAnswer p;
        p.phrase = run.mid(i, length);
        p.code = m_phraseCodes.read(schema::kPhraseCodes.code);
        p.explanation = m_explainer.phrase(p.phrase, p.code);
        p.text = QStringLiteral("词组%1：编码 %2。").arg(p.phrase, p.code) + p.explanation.text;
        m_answer.phrases << p;
        i += length;
    }
}

void CodeLookup::lookUpText(const QString& whole) {
    // However much was pasted, only the start is split up.
    QStringList all = characters(whole.left(2 * (kLongestText + 1)));
    const bool cut = all.size() > kLongestText;
    all = all.mid(0, kLongestText);

    QStringList notGb2312; // Chinese characters outside the character set
    QStringList notHan;    // signs, digits, emoji
    QStringList letterRuns;
    QString run;     // characters side by side, for the phrases among them
    QString letters; // letters side by side: a code
    const auto endRun = [&] {
        findPhrases(run);
        run.clear();
    };
    const auto endLetters = [&] {
        if (!letters.isEmpty())
            letterRuns << letters.toLower();
        letters.clear();
    };
    for (const QString& c : all) {
        if (isBlank(c)) {
            endRun();
            endLetters();
            continue;
        }
        if (c.size() == 1 && schema::isLetterKey(c.at(0))) {
            endRun();
            letters += c;
            continue;
        }
        endLetters();
        const QStringList codes = codesOf(c);
        if (!codes.isEmpty()) {
            m_answer.characters << characterAnswer(c, codes);
            run += c;
            continue;
        }
        endRun();
        // A character of GB2312 with no code is one of its signs (々 and 〇 among them).
        if (!m_gb2312.holds(c) && QChar::script(codePoint(c)) == QChar::Script_Han)
            notGb2312 << c;
        else
            notHan << c;
    }
    endRun();
    endLetters();

    QStringList said;
    const bool onlyACode =
        letterRuns.size() == 1 && m_answer.characters.isEmpty() && notGb2312.isEmpty() && notHan.isEmpty() && !cut;
    const int most =
        letterRuns.size() <= 1 ? kMostCandidates : std::max(10, kMostCandidates / static_cast<int>(letterRuns.size()));
    for (const QString& code : letterRuns) {
        if (code.size() > kLongestCode) {
            said << QStringLiteral("五笔编码最多四个字母，“%1”不是编码").arg(code.left(kLongestCode + 4));
            continue;
        }
        const CodeAnswer a = lookUpCode(code, most);
        const QString any =
            code.contains(QChar(kAnyLetter)) ? QStringLiteral("（%1 代表任一字母）").arg(QChar(kAnyLetter)) : QString();
        const int found = static_cast<int>(a.candidates.size()) + a.moreCandidates;
        if (found == 0) {
            said << QStringLiteral("没有以 %1 开头的五笔编码%2").arg(code, any);
            continue;
        }
        QString s = QStringLiteral("编码 %1%2 及以它开头的编码，共 %3 个字词").arg(code, any).arg(found);
        if (a.moreCandidates > 0)
            s += QStringLiteral("，列出前 %1 个").arg(a.candidates.size());
        said << s;
        m_answer.codes << a;
    }
    if (onlyACode && !m_answer.codes.isEmpty()) {
        Label40.setCaption(said.join(QString()) + QStringLiteral("："));
        return;
    }
    if (!m_answer.characters.isEmpty()) {
        QString found = QStringLiteral("%1 个字").arg(m_answer.characters.size());
        if (!m_answer.phrases.isEmpty())
            found += QStringLiteral("，%1 个词组").arg(m_answer.phrases.size());
        said << found;
    }
    if (!notGb2312.isEmpty())
        said << quoted(notGb2312, m_gb2312) +
                    QStringLiteral("不在 GB2312 字符集内（繁体字、异体字或生僻字），码表里没有");
    if (!notHan.isEmpty())
        said << quoted(notHan, m_gb2312) + QStringLiteral("不是汉字，没有五笔编码");
    if (cut)
        said << QStringLiteral("一次最多查 %1 个字，后面的没有查").arg(kLongestText);
    Label40.setCaption(said.join(QStringLiteral("；")) + QStringLiteral("。"));
}

} // namespace drills
