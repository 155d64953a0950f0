#include "practice.h"

#include "code_explanation.h"
#include "practice_plan.h"
#include "schema.h"

#include <QSet>

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace gen {

namespace {

const QString kKeyOrder = QStringLiteral("gfdsahjklmtrewqyuiopnbvcx");
// The key-name characters, in the key order above.
const QString kKeyNames = QStringLiteral("王土大木工目日口田山禾白月人金言立水火之已子女又纟");

constexpr int kBatchSize = lexicon::schema::kCharactersPerBatch;
constexpr int kPhrasesPerBatch = lexicon::schema::kPhrasesPerBatch;

// The drill checks the 15th character of every batch it advances onto against these, so none
// may stand 15th except in the closing batch it marks.
QStringList characterEndMarkers() {
    QStringList markers;
    for (const drills::EndMarker& m : drills::kCharacterEndMarkers)
        markers << QString::fromUtf8(m.text);
    return markers;
}
const QStringList kCharacterEndMarkers = characterEndMarkers();

// The phrase runs in practice order, the long phrases last.
QList<drills::PhraseCategory> phrasePlan() {
    QList<drills::PhraseCategory> runs(std::begin(drills::kPhraseCategory), std::end(drills::kPhraseCategory));
    runs << drills::kLongPhrases;
    return runs;
}

QStringList phraseEndMarkers() {
    QStringList markers;
    for (const drills::PhraseCategory& c : phrasePlan())
        markers << QString::fromUtf8(c.endMarker.text);
    return markers;
}
const QStringList kPhraseEndMarkers = phraseEndMarkers();

// A category's start, end marker and last batch, as the drill's plan gives them.
void planCategory(CharCategory& cat, const char* caption) {
    for (const drills::CharacterCategory& c : drills::kCharacterCategory) {
        if (QByteArray(c.caption) == caption) {
            cat.name = QString::fromUtf8(c.caption);
            cat.start = c.startBatch;
            cat.lastBatch = drills::batchRange(c).last;
            cat.endMarker = QString::fromUtf8(c.endMarker);
            return;
        }
    }
    throw std::logic_error(caption);
}

// How many batches of each phrase run are practised: every number from the start to the closing
// batch is used, the closing batch being the last number the run may take.
constexpr int kTwoCharacterBatches = 36;   // 100-135, closing 136
constexpr int kThreeCharacterBatches = 29; // 137-165, closing 166
constexpr int kFourCharacterBatches = 32;  // 167-198, closing 199
constexpr int kLongPhraseRows = 100;       // 200-299, closing 300
constexpr int kThirdLevelBatches = 15;     // 191-205, closing 206

[[noreturn]] void fail(const QString& why) {
    throw std::runtime_error(why.toStdString());
}

QStringList batchesFromList(const QStringList& lines, const CharCategory& cat) {
    QStringList out;
    for (const QString& line : lines) {
        const QStringList cs = characters(line);
        if (cs.size() != kBatchSize)
            fail(QStringLiteral("%1: batch \"%2\" does not hold %3 characters").arg(cat.name, line).arg(kBatchSize));
        out << line;
    }
    return out;
}

// Lays out targets in batches of 15; the last one is filled up from the start of the list. The
// closing batch repeats the first targets with the end marker as its 15th.
QList<QStringList> layOut(const CharCategory& cat) {
    QList<QStringList> batches;
    for (int i = 0; i < cat.targets.size(); i += kBatchSize) {
        QStringList b = cat.targets.mid(i, kBatchSize);
        for (int j = 0; b.size() < kBatchSize && j < cat.targets.size(); ++j) {
            if (!b.contains(cat.targets[j]))
                b << cat.targets[j];
        }
        if (b.size() < kBatchSize)
            fail(QStringLiteral("%1: fewer than %2 targets").arg(cat.name).arg(kBatchSize));
        if (kCharacterEndMarkers.contains(b[kBatchSize - 1]))
            std::swap(b[kBatchSize - 1], b[kBatchSize - 2]);
        batches << b;
    }
    QStringList closing;
    for (const QString& t : cat.targets) {
        if (closing.size() == kBatchSize - 1)
            break;
        if (t != cat.endMarker)
            closing << t;
    }
    closing << cat.endMarker;
    batches << closing;
    return batches;
}

class Chooser {
public:
    Chooser(const Dictionary& dict, const Lists& lists) : m_dict(dict), m_lists(lists) {
        for (const Entry& e : dict.characters) {
            auto it = m_topOnCode.find(e.code);
            if (it == m_topOnCode.end() || e.weight > it->weight)
                m_topOnCode.insert(e.code, e);
        }
        for (const Entry& e : dict.phrases) {
            auto it = m_topPhraseOnCode.find(e.code);
            if (it == m_topPhraseOnCode.end() || e.weight > it->weight)
                m_topPhraseOnCode.insert(e.code, e);
        }
    }

    Practice run() {
        keyNames();
        firstLevel();
        characterRoots();
        secondLevel();
        identification();
        thirdLevel();
        // Present the categories in batch order, the order the drills meet them.
        std::sort(m_out.characters.begin(), m_out.characters.end(),
                  [](const CharCategory& a, const CharCategory& b) { return a.start < b.start; });
        checkCharacterLayout();
        phrases();
        return std::move(m_out);
    }

private:
    // Gives `hz` the code `code` in a code-table category, unless another target holds it.
    bool claim(CharCategory& cat, const QString& hz, const QString& code) {
        if (m_owner.contains(code)) {
            m_out.notes << QStringLiteral("%1: %2 dropped, its code %3 is taught for %4 already")
                               .arg(cat.name, hz, code, m_owner.value(code));
            return false;
        }
        m_owner.insert(code, hz);
        m_assigned.insert(hz);
        cat.taught.insert(hz, code);
        return true;
    }

    // A character that may still join a code-table category; otherwise a note says why not.
    bool available(const CharCategory& cat, const QString& hz, bool quiet = false) {
        QString why;
        if (m_firstLevel.contains(hz))
            why = QStringLiteral("it is practised as a first-level short code");
        else if (m_assigned.contains(hz))
            why = QStringLiteral("it is practised in another category");
        else if (!isGb2312Hanzi(hz))
            why = QStringLiteral("not a GB2312 hanzi");
        if (why.isEmpty())
            return true;
        if (!quiet)
            m_out.notes << QStringLiteral("%1: %2 dropped, %3").arg(cat.name, hz, why);
        return false;
    }

    double weightOf(const QString& hz, const QString& code) const { return m_dict.weight(hz, code); }

    // The end marker is practised too (the closing batch never is), in the place its weight gives
    // it among targets sorted by weight.
    void insertByWeight(CharCategory& cat, const QString& hz) const {
        const double w = weightOf(hz, cat.taught.value(hz));
        int at = 0;
        while (at < cat.targets.size() && weightOf(cat.targets[at], cat.taught.value(cat.targets[at])) >= w)
            ++at;
        cat.targets.insert(at, hz);
    }

    void setBatches(CharCategory& cat, const QStringList& lines) {
        QSet<QString> inPractice;
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList b = characters(lines[i]);
            if (QSet<QString>(b.begin(), b.end()).size() != kBatchSize)
                fail(QStringLiteral("%1: batch \"%2\" repeats a character").arg(cat.name, lines[i]));
            for (const QString& c : b) {
                if (!cat.taught.contains(c))
                    fail(QStringLiteral("%1: %2 in batch \"%3\" is not of this category").arg(cat.name, c, lines[i]));
                if (i + 1 < lines.size())
                    inPractice.insert(c);
            }
            cat.batches << b;
        }
        if (cat.batches.isEmpty() || cat.batches.last().last() != cat.endMarker)
            fail(QStringLiteral("%1: the last batch must end with %2").arg(cat.name, cat.endMarker));
        for (const QString& t : cat.targets) {
            if (!inPractice.contains(t))
                fail(QStringLiteral("%1: %2 is never practised").arg(cat.name, t));
        }
    }

    void keyNames() {
        CharCategory cat;
        planCategory(cat, "键名字");
        for (int i = 0; i < kKeyNames.size(); ++i) {
            const QString hz = kKeyNames.mid(i, 1);
            const QString code = QString(kKeyOrder[i]).repeated(4);
            if (!m_dict.codesOf.value(hz).contains(code))
                fail(QStringLiteral("the dictionary lacks %1 %2").arg(hz, code));
            if (!claim(cat, hz, code))
                fail(QStringLiteral("key name %1 cannot be taught").arg(hz));
            cat.targets << hz;
        }
        setBatches(cat, batchesFromList(m_lists.keyNameBatches, cat));
        m_out.characters << cat;
    }

    void firstLevel() {
        CharCategory cat;
        planCategory(cat, "一级简码");
        cat.firstLevel = true;
        for (const QChar key : kKeyOrder) {
            const auto it = m_topOnCode.constFind(QString(key));
            if (it == m_topOnCode.constEnd())
                fail(QStringLiteral("no first-level character on %1").arg(key));
            cat.targets << it->text;
            cat.taught.insert(it->text, it->code);
            m_firstLevel.insert(it->text);
        }
        // 工 and 人 are key names as well as first-level characters: each drill needs all 25 of its
        // own, and the two drills look codes up in different tables, so both keep them.
        setBatches(cat, batchesFromList(m_lists.firstLevelBatches, cat));
        m_out.characters << cat;
    }

    void characterRoots() {
        CharCategory cat;
        planCategory(cat, "成字字根");
        QStringList wanted = m_lists.characterRoots;
        if (!wanted.contains(cat.endMarker))
            fail(QStringLiteral("the end marker %1 is not a listed character root").arg(cat.endMarker));
        wanted.removeAll(cat.endMarker);
        wanted.prepend(cat.endMarker);
        for (const QString& hz : wanted) {
            if (!available(cat, hz))
                continue;
            const QString code = m_dict.fullCode(hz);
            if (code.isEmpty()) {
                m_out.notes << QStringLiteral("%1: %2 dropped, not in the dictionary").arg(cat.name, hz);
                continue;
            }
            claim(cat, hz, code);
        }
        for (const QString& hz : m_lists.characterRoots) {
            if (cat.taught.contains(hz))
                cat.targets << hz;
        }
        cat.batches = layOut(cat);
        m_out.characters << cat;
    }

    void secondLevel() {
        CharCategory cat;
        planCategory(cat, "二级简码");
        QStringList codes;
        for (auto it = m_topOnCode.constBegin(); it != m_topOnCode.constEnd(); ++it) {
            if (it.key().size() == 2)
                codes << it.key();
        }
        // The second-level table is learnt key by key in the order of the keyboard's zones (G F D S
        // A, H J K L M, ...), so its batches follow that order on both letters.
        std::sort(codes.begin(), codes.end(), [](const QString& a, const QString& b) {
            const auto rank = [](const QString& c) { return kKeyOrder.indexOf(c[0]) * 32 + kKeyOrder.indexOf(c[1]); };
            return rank(a) < rank(b);
        });
        const QString markerCode = m_dict.codesOf.value(cat.endMarker).value(0);
        if (markerCode.size() != 2 || !claim(cat, cat.endMarker, markerCode))
            fail(QStringLiteral("%1 cannot close the second-level batches").arg(cat.endMarker));
        for (const QString& code : codes) {
            const QString hz = m_topOnCode.value(code).text;
            if (hz == cat.endMarker) {
                cat.targets << hz;
                continue;
            }
            if (available(cat, hz, true) && claim(cat, hz, code))
                cat.targets << hz;
            else if (!cat.taught.contains(hz))
                m_out.notes << QStringLiteral("%1: %2 %3 left to its other category").arg(cat.name, hz, code);
        }
        const int room = (cat.lastBatch - cat.start) * kBatchSize;
        if (cat.targets.size() > room)
            fail(QStringLiteral("%1: %2 targets do not fit").arg(cat.name).arg(cat.targets.size()));
        cat.batches = layOut(cat);
        m_out.characters << cat;
    }

    // Two roots and the identification letter make a three-letter full code. Only characters with
    // no shorter code are taken, so the learner really has to type the identification letter, and
    // only those the code gives first, so the drill teaches what the input method does.
    void identification() {
        CharCategory cat;
        planCategory(cat, "识别码");
        const QSet<QString> notHere(m_lists.notIdentification.begin(), m_lists.notIdentification.end());
        QList<Entry> candidates;
        QHash<QString, int> seen;
        for (const Entry& e : m_dict.characters) {
            const QStringList codes = m_dict.codesOf.value(e.text);
            if (codes.size() != 1 || e.code.size() != 3 || !drills::isIdentificationLetter(e.code.back()) ||
                seen.contains(e.text))
                continue;
            seen.insert(e.text, 1);
            if (e.text == cat.endMarker)
                continue;
            if (notHere.contains(e.text) || kKeyNames.contains(e.text) || !isLevel1(e.text) ||
                m_topOnCode.value(e.code).text != e.text || !available(cat, e.text, true))
                continue;
            candidates << e;
        }
        takeByWeight(cat, candidates, m_dict.fullCode(cat.endMarker), "identification", INT_MAX);
    }

    // A true three-letter short code: the prefix of a four-letter full code, the character's
    // shortest code, and the character the code gives first.
    void thirdLevel() {
        CharCategory cat;
        planCategory(cat, "三级简码");
        const int wanted = kThirdLevelBatches * kBatchSize;
        QList<Entry> candidates;
        for (const Entry& e : m_dict.characters) {
            const QStringList codes = m_dict.codesOf.value(e.text);
            if (e.code.size() != 3 || codes.first() != e.code || codes.last().size() != 4 ||
                !codes.last().startsWith(e.code))
                continue;
            if (e.text == cat.endMarker || !isLevel1(e.text) || m_topOnCode.value(e.code).text != e.text ||
                !available(cat, e.text, true))
                continue;
            candidates << e;
        }
        takeByWeight(cat, candidates, m_dict.codesOf.value(cat.endMarker).value(0), "third-level", wanted);
    }

    // Fills a category of three-letter codes: its end marker on `markerCode`, then the candidates
    // by weight until it holds `room` targets, the end marker among them where its weight puts it.
    void takeByWeight(CharCategory& cat, QList<Entry> candidates, const QString& markerCode, const char* what,
                      int room) {
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Entry& a, const Entry& b) { return a.weight > b.weight; });
        if (markerCode.size() != 3 || !claim(cat, cat.endMarker, markerCode))
            fail(QStringLiteral("%1 cannot close the %2 batches").arg(cat.endMarker, QLatin1String(what)));
        if (m_topOnCode.value(markerCode).text != cat.endMarker)
            m_out.notes << QStringLiteral("%1: %2 %3 is taught although %4 comes first on that code in the "
                                          "dictionary (it closes the category)")
                               .arg(cat.name, cat.endMarker, markerCode, m_topOnCode.value(markerCode).text);
        for (const Entry& e : candidates) {
            if (cat.targets.size() == room - 1)
                break;
            if (claim(cat, e.text, e.code))
                cat.targets << e.text;
        }
        insertByWeight(cat, cat.endMarker);
        cat.batches = layOut(cat);
        m_out.characters << cat;
    }

    void checkCharacterLayout() {
        int previousEnd = 0;
        for (const CharCategory& cat : m_out.characters) {
            const int closing = cat.start + static_cast<int>(cat.batches.size()) - 1;
            if (cat.start <= previousEnd || closing > cat.lastBatch)
                fail(QStringLiteral("%1: batches %2-%3 overlap or overrun").arg(cat.name).arg(cat.start).arg(closing));
            previousEnd = closing;
            const int jump = drills::jumpOf(cat.endMarker.toUtf8().constData());
            if (jump < cat.start || jump >= closing)
                fail(QStringLiteral("%1: the jump to %2 leaves the category").arg(cat.name).arg(jump));
            for (int i = 0; i < cat.batches.size(); ++i) {
                const QStringList& b = cat.batches[i];
                const bool isClosing = i + 1 == cat.batches.size();
                if (b.size() != kBatchSize || QSet<QString>(b.begin(), b.end()).size() != kBatchSize)
                    fail(QStringLiteral("%1: batch %2 is not 15 distinct characters").arg(cat.name).arg(cat.start + i));
                if (kCharacterEndMarkers.contains(b.last()) != isClosing)
                    fail(QStringLiteral("%1: batch %2 has %3 as its 15th")
                             .arg(cat.name)
                             .arg(cat.start + i)
                             .arg(b.last()));
            }
        }
    }

    void phrases() {
        for (const QString& p : m_lists.addedPhrases) {
            const bool known =
                std::any_of(m_dict.phrases.begin(), m_dict.phrases.end(), [&](const Entry& e) { return e.text == p; });
            if (known)
                continue;
            const QString code = phraseCode(p, m_dict);
            if (code.isEmpty() || !isGb2312(p))
                fail(QStringLiteral("cannot give %1 a code").arg(p));
            m_out.addedPhrases << Entry{p, code, 0,
                                        static_cast<int>(m_dict.phrases.size() + m_out.addedPhrases.size())};
        }
        QHash<QString, QString> codeOfPhrase;
        for (const Entry& e : m_out.addedPhrases)
            codeOfPhrase.insert(e.text, e.code);
        for (const QString& marker : kPhraseEndMarkers) {
            QString code = codeOfPhrase.value(marker);
            for (const Entry& e : m_dict.phrases) {
                if (code.isEmpty() && e.text == marker)
                    code = e.code;
            }
            if (code.isEmpty() || code != phraseCode(marker, m_dict))
                fail(QStringLiteral("end marker %1 has no code by the phrase rule").arg(marker));
            if (m_phraseOwner.contains(code))
                fail(QStringLiteral("end markers share the code %1").arg(code));
            m_phraseOwner.insert(code, marker);
            codeOfPhrase.insert(marker, code);
        }

        // Candidates: phrases the dictionary gives first on their code, whose code the rule
        // confirms, of common characters; the commonest first.
        QList<Entry> pool;
        QSet<QString> seen;
        const QSet<QString> excluded(m_lists.excludedPhrases.begin(), m_lists.excludedPhrases.end());
        for (const Entry& e : m_dict.phrases) {
            if (seen.contains(e.text))
                continue;
            seen.insert(e.text);
            if (excluded.contains(e.text) || kPhraseEndMarkers.contains(e.text) || !allLevel1(e.text))
                continue;
            const Entry& top = m_topPhraseOnCode[e.code];
            if (top.text != e.text || top.order != e.order || phraseCode(e.text, m_dict) != e.code)
                continue;
            pool << e;
        }
        std::stable_sort(pool.begin(), pool.end(), [](const Entry& a, const Entry& b) { return a.weight > b.weight; });
        for (const Entry& e : m_out.addedPhrases)
            codeOfPhrase.insert(e.text, e.code);

        // How many phrases of which lengths each run of the plan holds.
        struct Run {
            int count, minLength, maxLength;
        };
        const Run runs[] = {
            {kTwoCharacterBatches * kPhrasesPerBatch, 2, 2},
            {kThreeCharacterBatches * kPhrasesPerBatch, 3, 3},
            {kFourCharacterBatches * kPhrasesPerBatch, 4, 4},
            {kLongPhraseRows, 5, 99},
        };
        const QList<drills::PhraseCategory> plan = phrasePlan();
        // A run's batches start at the lowest the drill visits (four-character phrases start at
        // 169 but go on from 167) and end before the next run's.
        for (int i = 0; i < plan.size(); ++i) {
            const Run& run = runs[i];
            PhraseCategory cat;
            cat.name = QString::fromUtf8(plan[i].caption);
            cat.start = drills::batchRange(plan[i]).first;
            cat.lastBatch = drills::batchRange(plan[i]).last;
            cat.endMarker = QString::fromUtf8(plan[i].endMarker.text);
            cat.oneAtATime = run.minLength >= 5;
            auto fits = [&](const QString& p) {
                const int n = static_cast<int>(characters(p).size());
                return n >= run.minLength && n <= run.maxLength;
            };
            auto take = [&](const QString& p, const QString& code) {
                if (cat.phrases.contains(p))
                    return;
                if (m_phraseOwner.contains(code)) {
                    m_out.notes << QStringLiteral("%1: %2 dropped, its code %3 is taught for %4 already")
                                       .arg(cat.name, p, code, m_phraseOwner.value(code));
                    return;
                }
                m_phraseOwner.insert(code, p);
                cat.phrases << p;
            };
            for (const QString& p : m_lists.earlyPhrases) {
                if (!fits(p))
                    continue;
                QString code = codeOfPhrase.value(p);
                for (const Entry& e : pool) {
                    if (code.isEmpty() && e.text == p)
                        code = e.code;
                }
                if (code.isEmpty())
                    fail(QStringLiteral("early phrase %1 is not first on a code the phrase rule gives").arg(p));
                take(p, code);
            }
            for (const Entry& e : pool) {
                if (cat.phrases.size() == run.count)
                    break;
                if (fits(e.text))
                    take(e.text, e.code);
            }
            if (cat.phrases.size() < std::max(run.count, kPhrasesPerBatch))
                fail(QStringLiteral("%1: only %2 phrases").arg(cat.name).arg(cat.phrases.size()));
            if (cat.oneAtATime) {
                // One phrase is practised per row; the other four fields hold the next phrases so
                // that no field the phrase page may show is ever empty.
                for (int i = 0; i < cat.phrases.size(); ++i) {
                    QStringList row;
                    for (int k = 0; k < kPhrasesPerBatch; ++k)
                        row << cat.phrases[(i + k) % cat.phrases.size()];
                    cat.rows << row;
                }
                cat.rows << (QStringList{cat.endMarker} + cat.phrases.mid(0, kPhrasesPerBatch - 1));
            } else {
                for (int i = 0; i < cat.phrases.size(); i += kPhrasesPerBatch)
                    cat.rows << cat.phrases.mid(i, kPhrasesPerBatch);
                cat.rows << (cat.phrases.mid(0, kPhrasesPerBatch - 1) << cat.endMarker);
            }
            const int closing = cat.start + static_cast<int>(cat.rows.size()) - 1;
            if (closing > cat.lastBatch)
                fail(QStringLiteral("%1: closing batch %2 lies beyond %3")
                         .arg(cat.name)
                         .arg(closing)
                         .arg(cat.lastBatch));
            m_out.phrases << cat;
        }
    }

    const Dictionary& m_dict;
    const Lists& m_lists;
    Practice m_out;
    QHash<QString, Entry> m_topOnCode;
    QHash<QString, Entry> m_topPhraseOnCode;
    QHash<QString, QString> m_owner;
    QHash<QString, QString> m_phraseOwner;
    QSet<QString> m_assigned;
    QSet<QString> m_firstLevel;
};

bool byCodeThenWeight(const Entry& a, const Entry& b) {
    if (a.code.size() != b.code.size())
        return a.code.size() < b.code.size();
    if (a.code != b.code)
        return a.code < b.code;
    if (a.weight != b.weight)
        return a.weight > b.weight;
    return a.order < b.order;
}

// Drops every row that gives a target at a proper prefix of the code it is taught. The drills
// look up what has been typed after every keystroke, so such a row accepts the target before its
// code is complete and the rest of the code the hint shows lands in the next box. A target's own
// row is never dropped, so the second- and third-level characters keep the short codes they teach.
void dropEarlyMatches(QList<QStringList>& rows, const QHash<QString, QString>& taught) {
    rows.removeIf([&](const QStringList& row) {
        const auto it = taught.constFind(row[1]);
        return it != taught.constEnd() && row[0] != *it && it->startsWith(row[0]);
    });
}

// The rows of a code table: first the practised targets on the codes the drills teach them (code,
// text), in practice order, then every entry in `order`; each row once, and none that accepts a
// target early.
template <typename Order>
QList<QStringList> tableRows(const QList<QStringList>& taughtRows, QList<Entry> entries, Order order) {
    QList<QStringList> rows;
    QSet<QString> done;
    QHash<QString, QString> taught;
    for (const QStringList& r : taughtRows) {
        if (!done.contains(r.join(QLatin1Char('\t')))) {
            done.insert(r.join(QLatin1Char('\t')));
            rows << r;
            taught.insert(r[1], r[0]);
        }
    }
    std::sort(entries.begin(), entries.end(), order);
    for (const Entry& e : entries) {
        const QString row = e.code + QLatin1Char('\t') + e.text;
        if (!done.contains(row)) {
            done.insert(row);
            rows << QStringList{e.code, e.text};
        }
    }
    dropEarlyMatches(rows, taught);
    return rows;
}

} // namespace

Practice choosePractice(const Dictionary& dict, const Lists& lists) {
    return Chooser(dict, lists).run();
}

QList<QStringList> codeTableRows(const Dictionary& dict, const Practice& practice) {
    QList<QStringList> taught;
    for (const CharCategory& cat : practice.characters) {
        if (cat.firstLevel)
            continue;
        for (const QStringList& batch : cat.batches) {
            for (const QString& hz : batch)
                taught << QStringList{cat.taught.value(hz), hz};
        }
    }
    return tableRows(taught, dict.characters, byCodeThenWeight);
}

QList<QStringList> lookupCodeRows(const Dictionary& dict) {
    QList<Entry> entries = dict.characters;
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.code != b.code)
            return a.code < b.code;
        if (a.weight != b.weight)
            return a.weight > b.weight;
        return a.order < b.order;
    });
    QList<QStringList> rows;
    QSet<QString> done;
    for (const Entry& e : entries) {
        const QString row = e.code + QLatin1Char('\t') + e.text;
        if (!done.contains(row)) {
            done.insert(row);
            rows << QStringList{e.code, e.text};
        }
    }
    return rows;
}

QList<QStringList> firstLevelRows(const Practice& practice) {
    QList<QStringList> rows;
    for (const CharCategory& cat : practice.characters) {
        if (!cat.firstLevel)
            continue;
        for (const QString& hz : cat.targets)
            rows << QStringList{cat.taught.value(hz), hz};
    }
    return rows;
}

QList<QStringList> characterBatchRows(const Practice& practice) {
    QList<QStringList> rows;
    for (const CharCategory& cat : practice.characters) {
        for (int i = 0; i < cat.batches.size(); ++i)
            rows << (QStringList{QString::number(cat.start + i)} + cat.batches[i]);
    }
    return rows;
}

QList<QStringList> phraseBatchRows(const Practice& practice) {
    QList<QStringList> rows;
    for (const PhraseCategory& cat : practice.phrases) {
        for (int i = 0; i < cat.rows.size(); ++i)
            rows << (QStringList{QString::number(cat.start + i)} + cat.rows[i]);
    }
    return rows;
}

QList<QStringList> phraseTableRows(const Dictionary& dict, const Practice& practice) {
    const QList<Entry> all = dict.phrases + practice.addedPhrases;
    QHash<QString, QString> practised; // phrase -> the code the drill teaches
    for (const Entry& e : all) {
        if (!practised.contains(e.text) && e.code == phraseCode(e.text, dict))
            practised.insert(e.text, e.code);
    }
    QList<QStringList> taught;
    for (const QStringList& batch : phraseBatchRows(practice)) {
        for (int i = 1; i < batch.size(); ++i)
            taught << QStringList{practised.value(batch[i]), batch[i]};
    }
    return tableRows(taught, all, [](const Entry& a, const Entry& b) {
        if (a.code != b.code)
            return a.code < b.code;
        if (a.weight != b.weight)
            return a.weight > b.weight;
        return a.order < b.order;
    });
}

} // namespace gen
