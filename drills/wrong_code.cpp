#include "wrong_code.h"

namespace drills {

namespace {

const QString kOrdinal[] = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四")};

// What gives letter `position` (0-based) of the code an explanation explains: the column over it.
QString sourceOf(const Explanation& e, int position) {
    int at = 0;
    for (const ExplanationCell& cell : e.cells) {
        if (!cell.counted)
            continue;
        if (position < at + cell.letters.size()) {
            if (cell.kind == ExplanationCell::Kind::Reason)
                return QStringLiteral("识别码，") + cell.top;
            if (!cell.top.isEmpty())
                return cell.top;
            return cell.picture > 0 ? QStringLiteral("字根") : QString();
        }
        at += cell.letters.size();
    }
    return QString();
}

// The code the explanation's letters spell, when it starts with `shown` (the code asked for): the
// letters of the shown code then line up with the explanation's columns.
bool linesUp(const Explanation& e, const QString& shown) {
    return !e.cells.isEmpty() && !shown.isEmpty() && e.code.startsWith(shown);
}

} // namespace

QString wrongCodeText(const WrongCode& w) {
    QString line = w.gives.isEmpty() ? QStringLiteral("“%1”打不出字").arg(w.typed)
                                     : QStringLiteral("“%1”打出的是“%2”").arg(w.typed, w.gives);
    const QString& code = w.shownCode;
    int k = 0;
    while (k < code.size() && k < w.typed.size() && code[k] == w.typed[k])
        ++k;
    if (k >= code.size() || k >= w.typed.size() || k >= 4)
        return line;
    const QChar typed = w.typed[k];
    line += QStringLiteral("：第%1码 %2").arg(kOrdinal[k], typed);
    // The typed letter's root only when the letters before it are the code of what they give.
    if (linesUp(w.givesExplanation, w.typed.left(k + 1))) {
        const QString source = sourceOf(w.givesExplanation, k);
        if (!source.isEmpty())
            line += QStringLiteral(" 是 ") + source;
    }
    line += QStringLiteral("；“%1”的第%2码是 %3").arg(w.target, kOrdinal[k], code[k]);
    if (linesUp(w.targetExplanation, code)) {
        const QString source = sourceOf(w.targetExplanation, k);
        if (!source.isEmpty())
            line += QStringLiteral("（%1）").arg(source);
    }
    return line;
}

} // namespace drills
