#pragma once
// The lookup page (编码查询): whatever the learner types or pastes into the box is looked up as
// it changes. The text is read as pieces: blanks only separate them. Chinese characters give each
// character every code the dictionary gives it (its full code and its short codes, each named) and
// the explanation of its split, and every run of characters side by side that is a phrase of the
// table the phrase's code; one to four letters are a code, and give the characters and phrases with
// that code or beginning with it, the exact code first, as an input method's candidate list, with
// z standing for any letter as on the root chart. Whatever cannot be looked up is named, with its
// code point when it lies outside GB2312, on one plain line.
//
// The chain: the box's change handler (Edit30Change) looks the text up and sets the answer line
// (Label40) and the answer the view lays out; a click on a candidate (candidateClick) puts it in the
// box, which looks it up. Showing the page (TabSheet8Show) puts the focus in the box and the root
// map in the hint panel. Nothing is read ahead: the tables (bm.db, every character code of the
// dictionary, and czwb.db, the phrase codes) open the first time they are needed, a cost of a few
// prepared statements, and each lookup asks them through their indexes for just what it answers. A
// table that cannot be read says so on the answer line, and the page goes on with what it has.

#include "code_explainer.h"
#include "controls.h"
#include "gb2312.h"
#include "picture_hints.h"
#include "table.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace drills {

// A character of the text: its codes and the explanation of the full one.
struct CharacterAnswer {
    QString character;
    QString fullCode;
    QStringList shortCodes; // 一级简码, 二级简码, 三级简码 in turn: each empty when it has none
    Explanation explanation;
    QString text; // all of it in words, for screen readers
};

// A run of characters side by side that is a phrase of the table.
struct PhraseAnswer {
    QString phrase;
    QString code;
    Explanation explanation;
    QString text;
};

// A character or phrase a code gives, and what that code is to it (一级简码 … 全码, 词组).
struct Candidate {
    QString code;
    QString text;
    QString kind;
};

// The letters of the text looked up as a code, and what they give.
struct CodeAnswer {
    QString code;                // as typed, in lower case; z stands for any letter
    QList<Candidate> candidates; // the exact code first, then the codes beginning with it, in code order
    int moreCandidates = 0;      // beyond those listed
};

struct LookupAnswer {
    QList<PhraseAnswer> phrases;
    QList<CharacterAnswer> characters;
    QList<CodeAnswer> codes;
    bool operator==(const LookupAnswer& o) const;
};

// The name of a short code of `level` letters: 一级简码, 二级简码, 三级简码.
QString shortCodeName(int level);

class CodeLookup {
public:
    // The longest text looked up, and the most candidates listed for one code.
    static constexpr int kLongestText = 16;
    static constexpr int kMostCandidates = 40;
    // The key that stands for any letter in a code.
    static constexpr char16_t kAnyLetter = u'z';

    CodeLookup(controls::Focus& focus, QString dataFolder, PictureHints& pictures);

    controls::Edit Edit30{QStringLiteral("Edit30")};
    // The answer in one line: what was found, or what cannot be looked up and why.
    controls::Label Label40{QStringLiteral("Label40")};

    void Edit30Change();
    void TabSheet8Show();
    // A click on candidate `index` of code `code` in the answer: it is looked up in its turn.
    void candidateClick(int code, int index);

    // What the view lays out under the answer line.
    const LookupAnswer& answer() const { return m_answer; }

private:
    // Opens the tables that are not open yet; false when one cannot be (m_loadError says why).
    bool ready();
    CodeAnswer lookUpCode(const QString& letters, int most);
    void lookUpText(const QString& text);
    // The phrases of the table in a run of characters side by side, longest first from the left.
    void findPhrases(const QString& run);
    CharacterAnswer characterAnswer(const QString& hz, const QStringList& codes);
    // Every code the dictionary gives `hz`, shortest first; empty when it gives none.
    QStringList codesOf(const QString& hz);
    QString kindOf(const QString& hz, const QString& code);

    controls::Focus& m_focus;
    QString m_folder;
    PictureHints& m_pictures;
    CodeExplainer m_explainer;
    lexicon::Table m_characterCodes{QStringLiteral("Table6")};
    lexicon::Table m_phraseCodes{QStringLiteral("Table7")};
    QString m_loadError;                   // why a table could not be read; empty when all were
    QString m_explanationFault;            // why a character of the answer has no explanation, if cf.db is at fault
    QHash<QString, QStringList> m_codesOf; // the codes of characters asked about, kept: the same few recur
    gb2312::Checker m_gb2312;
    LookupAnswer m_answer;
};

} // namespace drills
