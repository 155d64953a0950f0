#pragma once
// Why a code is what it is: the rules that turn a character's roots into its full code, and a
// phrase's characters into the phrase's code, with the text the hint shows under the code.
//
// A character's split comes from cf.db as one field: its roots in writing order, each as its
// character (or a name, or nothing) followed by the number of its root picture when it is drawn
// from one, then its key letter; then, after a space, either the strokes a character root's code
// takes or, for two or three roots, the last stroke and the shape that give the identification
// letter, or "!" for an exception: a character whose dictionary code is not the code its split gives
// by the rules (哀 yeu), shown with its split and its code as the dictionary's own; "!" may be
// followed by the letter of the rule the code breaks (o, i, r: see Split::exceptionRule).
// Strokes are h 横, s 竖, p 撇, n 捺 (and 点), z 折; shapes 1 左右, 2 上下, 3 杂合.
// Examples: "氵i又c n1" (汉), "五g hsh" (五), "王g" (王), "一g h" (一), "亠y口k𧘇94e !" (哀).

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace drills {

enum class Stroke { Heng, Shu, Pie, Na, Zhe };
enum class Shape { LeftRight = 1, TopBottom = 2, Mixed = 3 };

// The key a stroke is typed with: 横 g, 竖 h, 撇 t, 捺 y, 折 n.
QChar strokeKey(Stroke s);
QString strokeName(Stroke s); // 横 竖 撇 捺 折
QString shapeName(Shape s);   // 左右 上下 杂合
// The identification letter of a character of two or three roots: the stroke picks the zone
// (横 g f d, 竖 h j k, 撇 t r e, 捺 y u i, 折 n b v), the shape the key within it.
QChar identificationLetter(Stroke last, Shape shape);
// Whether `c` is the identification letter of some last stroke and shape.
bool isIdentificationLetter(QChar c);

struct SplitRoot {
    QString text;    // the root's character, or its name; may be empty when only a picture shows it
    int picture = 0; // its root picture (zigenN), 0 when it is shown as text
    QChar key;
};

struct Split {
    enum class Kind { KeyName, CharacterRoot, Roots };
    Kind kind = Kind::Roots;
    QList<SplitRoot> roots;
    QList<Stroke> strokes;   // a character root's first, second and last strokes (fewer if it has fewer)
    bool identified = false; // two or three roots: closed by an identification letter
    bool exception = false;  // the dictionary's code does not come from the roots
    // Which rule an exception's code breaks: 'o' the code takes the roots in another order than
    // they are written, 'i' its identification letter is not the one of its last stroke and
    // shape, 'r' its code takes roots the character is not written with (哀 is coded as 衣); 0 when
    // the field does not say.
    char exceptionRule = 0;
    Stroke last = Stroke::Heng;
    Shape shape = Shape::LeftRight;
};

// The split a cf.db field holds; nothing for a field that is not one.
std::optional<Split> parseSplit(QStringView field);

// One column of the explanation strip: what stands on top (a root's character or name, a
// character of a phrase, a stroke's name, the reason of an identification letter, or a root
// picture) and the letters it gives, underneath; a root or a phrase's character the code takes
// nothing from is marked as not counted.
struct ExplanationCell {
    enum class Kind { Root, Text, Reason };
    Kind kind = Kind::Root;
    QString top;
    int picture = 0; // a root picture (zigenN) drawn instead of `top`; 0 for none
    QString letters;
    bool counted = true; // a root the code takes (a character of more than four roots skips some)
    bool operator==(const ExplanationCell& o) const {
        return kind == o.kind && top == o.top && picture == o.picture && letters == o.letters && counted == o.counted;
    }
};

// The strip of a split: every root in writing order, the ones the code takes over their keys (a
// character of more than four roots: its first three and last; the others are shown without a
// letter and marked as not counted), then the identification letter under its reason; a key name
// over its four letters; a character root's strokes over their letters; an exception's roots
// without letters, then its code `fullCode` under "例外".
QList<ExplanationCell> cellsOf(const Split& split, const QString& fullCode = QString());

// The full code the split gives: a key name its key four times; a character root its key, then
// its first, second and last strokes (a single stroke: its key twice and "ll"); otherwise the
// keys of the first three roots and the last (two or three roots: all, and the identification
// letter). An exception gives none: its code is the table's.
QString codeOf(const Split& split);

// Whether a split explains `fullCode`: it gives that code, or it is an exception.
bool explains(const Split& split, const QString& fullCode);

// Whether the root at `index` counts in the code (a character of more than four roots skips the
// ones between its third and its last).
bool rootCounts(const Split& split, int index);

// The explanation in words, one line: "氵 i ＋ 又 c ＋ 识别码 y（末笔捺，左右型）＝ icy". An exception
// names its roots and says its code `fullCode` is the dictionary's own.
QString explanationText(const QString& character, const Split& split, const QString& fullCode = QString());

// What the hint shows beside the full code when it shows a short one, in two short lines: the full
// code, then how the short code comes from it ("全码 gdi" / "取前两码"; a first-level code is the
// key's own character: "一级简码"). Empty when the hint shows the full code.
QString shortCodeNote(const QString& shown, const QString& fullCode);
// The explanation `text` of `fullCode` as a screen reader says it under the short code `shown`: a
// first-level code is the key's own character, not the start of the full code the text explains,
// so the words name it first ("一级简码 v；全码 ..."). Otherwise `text` itself.
QString shortCodeText(const QString& shown, const QString& fullCode, const QString& text);

// The phrase rule: which letters each character gives, from the characters' full codes. Two
// characters: the first two of each; three: the first of the first two and the first two of the
// third; four: the first of each; more: the first of the first three and of the last (the others
// give none). Empty when there are fewer than two characters or a code is missing.
QStringList phraseLetters(const QStringList& fullCodes);
// The phrase's code: those letters in order; empty when the rule gives none.
QString phraseCode(const QStringList& fullCodes);
QString phraseExplanationText(const QStringList& characters, const QStringList& letters);
// A phrase whose code in the dictionary is not the code the rule gives (版权所有 bqsy, the rule
// tsrd): its characters without letters, then its code under "词组例外", and in words which rule it
// breaks.
QList<ExplanationCell> phraseExceptionCells(const QStringList& characters, const QString& code);
QString phraseExceptionText(const QStringList& characters, const QString& code, const QString& ruleCode);

// Where the hint explains a phrase: one of two to four characters above its code; a longer one
// fills the hint down to the code, and is explained on the long-phrase panel instead.
enum class PhrasePlace { None, Hint, LongPhrasePanel };
PhrasePlace phrasePlace(const QString& phrase);

} // namespace drills
