#pragma once
// Keeps a half-typed input-method code from being committed twice when the focus moves, and an
// engine's code letters from being committed at all.
//
// With a preedit pending, a focus move (or a click that moves the caret) makes the toolkit commit
// the preedit at once into the box that shows it, and then resets the input method. An engine
// that commits its preedit on a reset (IBus's table engines do) sends the same text again a few
// milliseconds later, into whichever box has the focus by then: the character would land twice,
// once in a box it was never typed in. This filter drops that second commit: a commit that
// arrives in a box showing no preedit, repeating the preedit just committed, with no input-method
// event in between. Every other commit, direct ones without a preedit (punctuation) included,
// passes.
//
// An engine may also commit the code letters themselves: IBus and Fcitx 5 do on Enter with a code
// pending, and Fcitx 5, whose preedit is the code letters, has the toolkit commit them on a focus
// move. Letters a-z are never a character a drill asks for (a code box takes letters as keys, with
// the input method kept away), so such a commit is dropped: the pending code lands nowhere. A box
// whose property kTakesCodeLetters is true (the lookup box, where letters are a code to look up)
// takes it like any other commit.

#include <QObject>
#include <QPointer>
#include <QString>

namespace app {

// The widget property that lets an input method's commit of code letters into a box.
inline constexpr char kTakesCodeLetters[] = "takesCodeLetters";

class InputMethodGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> m_preeditOwner; // the box that shows m_preedit
    QString m_preedit;
    QString m_echo; // a preedit just committed, which a reset may send again
};

} // namespace app
