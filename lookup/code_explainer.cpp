#include "code_explainer.h"

#include "schema.h"

#include <utility>

namespace drills {

CodeExplainer::CodeExplainer(QString dataFolder) : m_folder(std::move(dataFolder)) {}

bool CodeExplainer::ready() {
    if (m_table.isOpen())
        return true;
    if (m_failed)
        return false;
    try {
        m_table.open(m_folder, QLatin1String(lexicon::schema::kExplanationFile));
        m_codes.open(m_folder, QLatin1String(lexicon::schema::kCharacterCodeFile));
    } catch (const lexicon::TableError&) {
        // Without wb.db no explanation can be held to the character's code.
        m_table.close();
        m_failed = true;
    }
    return m_table.isOpen();
}

QList<lexicon::TableError> CodeExplainer::takeNewFaults() {
    return std::exchange(m_newFaults, {});
}

bool CodeExplainer::row(const QString& hz, QString& code, QString& field) {
    if (!ready())
        return false;
    try {
        const lexicon::schema::ExplanationTable& f = lexicon::schema::kExplanations;
        if (!m_table.locate(f.character, hz))
            return false;
        code = m_table.read(f.code);
        field = m_table.read(f.split);
        // The character's full code is the longest wb.db gives it.
        QString full;
        m_codes.forEachMatch(lexicon::schema::kCharacterCodes.text, hz, [&] {
            const QString c = m_codes.read(lexicon::schema::kCharacterCodes.code);
            if (c.size() > full.size())
                full = c;
        });
        if (code != full) {
            m_table.refuse(f.code, full.isEmpty()
                                       ? QStringLiteral("“%1”无从核对：%2 中没有 %3")
                                             .arg(code, QLatin1String(lexicon::schema::kCharacterCodeFile), hz)
                                       : QStringLiteral("“%1”不是 %2 的全码 %3").arg(code, hz, full));
        }
        return true;
    } catch (const lexicon::TableError& e) {
        // A broken row or a table gone bad explains nothing; the drill goes on without it. What is
        // wrong is said once.
        m_fault = e.message();
        if (!m_faultsGiven.contains(e.message())) {
            m_faultsGiven << e.message();
            m_newFaults << e;
        }
        return false;
    }
}

const Explanation& CodeExplainer::character(const QString& hz) {
    if (hz == m_lastCharacter)
        return m_character;
    m_lastCharacter = hz;
    m_character = {};
    m_fault.clear();
    QString code;
    QString field;
    if (hz.isEmpty() || !row(hz, code, field))
        return m_character;
    const std::optional<Split> split = parseSplit(field);
    if (!split || !explains(*split, code))
        return m_character;
    m_character.cells = cellsOf(*split, code);
    m_character.text = explanationText(hz, *split, code);
    m_character.code = code;
    return m_character;
}

Explanation CodeExplainer::character(const QString& hz, const QString& shown) {
    Explanation e = character(hz);
    if (e.cells.isEmpty())
        return e;
    e.note = shortCodeNote(shown, e.code);
    e.text = shortCodeText(shown, e.code, e.text);
    return e;
}

const Explanation& CodeExplainer::phrase(const QString& text, const QString& code) {
    if (text == m_lastPhrase && code == m_lastPhraseCode)
        return m_phrase;
    m_lastPhrase = text;
    m_lastPhraseCode = code;
    m_phrase = {};
    QStringList characters;
    QStringList codes;
    for (QChar c : text) {
        QString full;
        QString field;
        if (!row(QString(c), full, field))
            return m_phrase;
        characters << QString(c);
        codes << full;
    }
    const QStringList letters = phraseLetters(codes);
    if (letters.isEmpty() || code.isEmpty())
        return m_phrase;
    if (letters.join(QString()) != code) {
        // A dictionary phrase whose code breaks the rule is explained as the exception it is.
        m_phrase.cells = phraseExceptionCells(characters, code);
        m_phrase.text = phraseExceptionText(characters, code, letters.join(QString()));
        m_phrase.code = code;
        return m_phrase;
    }
    // Every character, the ones the rule takes none from marked (a phrase of five or more).
    for (qsizetype i = 0; i < characters.size(); ++i) {
        m_phrase.cells << ExplanationCell{ExplanationCell::Kind::Text, characters[i], 0, letters[i]};
        m_phrase.cells.last().counted = !letters[i].isEmpty();
    }
    m_phrase.text = phraseExplanationText(characters, letters);
    m_phrase.code = code;
    return m_phrase;
}

} // namespace drills
