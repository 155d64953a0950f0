#pragma once
// The lookup page (编码查询): whatever the learner types or pastes into the box is looked up as
// it changes. Chinese text gives each character's full code, its short codes and the explanation
// of its split, and every run of it that is a phrase of the table the phrase's code; one to four
// letters give the characters and phrases with that code or beginning with it, the exact code
// first, as an input method's candidate list. Anything else gets one plain line saying what
// cannot be looked up.
//
// The chain: the box's change handler (Edit30Change) looks the text up and sets the answer line
// (Label40) and the answer the view lays out. Showing the page (TabSheet8Show) puts the focus in
// the box and the root map in the hint panel. The code tables are read whole the first time
// something is looked up (wb.db, jm.db for the first-level codes wb.db leaves out, and czwb.db;
// about 72,000 rows) into an index held in memory, so a
// keystroke costs a few hash and binary searches; a table that cannot be read says so on the
// answer line, and the page goes on with what it has.

#include "code_explainer.h"
#include "controls.h"
#include "picture_hints.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace drills {

// A character of the text: its codes and the explanation of the full one.
struct CharacterAnswer {
    QString character;
    QString fullCode;
    QStringList shortCodes; // 一级简码, 二级简码, 三级简码 in turn: each empty when it has none
    Explanation explanation;
    QString text; // all of it in words, for screen readers
};

// A run of the text that is a phrase of the table.
struct PhraseAnswer {
    QString phrase;
    QString code;
    Explanation explanation;
    QString text;
};

// A character or phrase a code gives.
struct Candidate {
    QString code;
    QString text;
};

struct LookupAnswer {
    QList<PhraseAnswer> phrases;
    QList<CharacterAnswer> characters;
    QString code;                // the letters looked up as a code, when they were
    QList<Candidate> candidates; // what they give: the exact code first, in table order
    int moreCandidates = 0;      // beyond those listed
    bool operator==(const LookupAnswer& o) const;
};

// The name of a short code of `level` letters: 一级简码, 二级简码, 三级简码.
QString shortCodeName(int level);

class CodeLookup {
public:
    // The longest text looked up, and the most candidates listed.
    static constexpr int kLongestText = 16;
    static constexpr int kMostCandidates = 40;

    CodeLookup(controls::Focus& focus, QString dataFolder, PictureHints& pictures);

    controls::Edit Edit30{QStringLiteral("Edit30")};
    // The answer in one line: what was found, or what cannot be looked up and why.
    controls::Label Label40{QStringLiteral("Label40")};

    void Edit30Change();
    void TabSheet8Show();

    // What the view lays out under the answer line.
    const LookupAnswer& answer() const { return m_answer; }

private:
    // Reads the code tables into the index, once: when the page is first shown, or at the first
    // lookup if that comes first.
    void load();
    void lookUpCode(const QString& letters);
    void lookUpText(const QString& text);
    CharacterAnswer characterAnswer(const QString& hz);

    controls::Focus& m_focus;
    QString m_folder;
    PictureHints& m_pictures;
    CodeExplainer m_explainer;

    bool m_loaded = false;
    QString m_loadError;                 // why a code table could not be read; empty when all were
    QString m_explanationFault;          // why a character of the answer has no explanation, if cf.db is at fault
    QHash<QString, QStringList> m_codes; // a character's codes, shortest first
    QHash<QString, QString> m_phraseCodes;
    int m_longestPhrase = 0;
    struct Entry {
        quint32 key; // the code as a number that sorts as the code does (codeKey)
        int order;   // characters in table order, then phrases in theirs
        QString code;
        QString text;
    };
    std::vector<Entry> m_byCode; // sorted by code, then order
    LookupAnswer m_answer;
};

} // namespace drills
