#pragma once
// Looks up what the hint panel shows under a code: the explanation of a character's code from
// cf.db, or of a phrase's code from its characters' full codes there. A split is explained only
// when the code it gives by the rules is the character's full code in the table, and a phrase only
// when the rule gives the very code the hint shows (a few dictionary phrases break the rule). The table opens
// the first time it is needed; when it cannot open, or fails, there is simply nothing to explain:
// the drill itself does not need it. A row whose code is not the character's full code in wb.db
// (the longest code wb.db gives it) explains nothing either, and is a fault of the table: each
// such fault is said once, by whoever shows the explanations (takeNewFaults).

#include "code_explanation.h"
#include "table.h"

#include <QList>
#include <QString>

namespace drills {

struct Explanation {
    QList<ExplanationCell> cells; // empty: nothing to explain
    QString text;                 // the same in words, for screen readers
    QString code;                 // the full code explained
    QString note;                 // under a short code: the full code, and how the short one comes from it
    bool operator==(const Explanation& o) const {
        return cells == o.cells && text == o.text && code == o.code && note == o.note;
    }
};

class CodeExplainer {
public:
    explicit CodeExplainer(QString dataFolder);

    // The explanations of a character's and of a phrase's code; the last answer of each is kept,
    // so asking again for the text on show costs a comparison. `code` is the phrase's code as the
    // hint shows it: a phrase whose code the rule does not give is not explained.
    const Explanation& character(const QString& hz);
    // The same under the code the hint shows, `shown`: with the short code's note, and words that
    // name a first-level code.
    Explanation character(const QString& hz, const QString& shown);
    const Explanation& phrase(const QString& text, const QString& code);

    // Why the last character asked for has no explanation when its row is at fault (the message
    // names cf.db, the row and the field); empty otherwise.
    const QString& fault() const { return m_fault; }
    // The faults met since the last call that were never given before, oldest first.
    QList<lexicon::TableError> takeNewFaults();

private:
    bool ready();
    // The character's full code and split field; false when the table has no row for it.
    bool row(const QString& hz, QString& code, QString& field);

    QString m_folder;
    lexicon::Table m_table{QStringLiteral("Table5")};
    lexicon::Table m_codes{QStringLiteral("Table7")}; // wb.db, for the full codes
    QString m_fault;
    QStringList m_faultsGiven;
    QList<lexicon::TableError> m_newFaults;
    bool m_failed = false;
    QString m_lastCharacter;
    Explanation m_character;
    QString m_lastPhrase;
    QString m_lastPhraseCode;
    Explanation m_phrase;
};

} // namespace drills
