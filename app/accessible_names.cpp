#include "accessible_names.h"

#include <QRegularExpression>
#include <QWidget>

namespace app {

namespace {

// A family of controls (`Ed1` ... `Ed15`) or a single one (`zi`, number 0), and what it is: the
// text, with %1 replaced by the number plus `shift`. A label, a panel caption or a drawn line
// shows its content as its name, so what it is becomes its description (`Describes`); other
// controls take it as their name.
enum Kind { Names, Describes };
struct Naming {
    const char* family;
    int first;
    int last;
    const char* text;
    Kind kind;
    int shift = 0;
};

const Naming kNames[] = {
    // The key drills.
    {"Edit", 23, 23, "键位输入", Names},
    {"Label", 35, 35, "答案提示键", Describes},
    {"Edit", 21, 21, "键位输入", Names},
    {"zigen", 0, 0, "答案提示键", Describes},
    {"zigen", 1, 195, "字根图%1", Names},
    // The single-character drill.
    {"Label", 1, 15, "目标字%1", Describes},
    {"Edit", 1, 15, "已打出的字%1", Names},
    {"Ed", 1, 15, "编码%1", Names},
    {"Memo", 1, 1, "规则说明", Names},
    {"Panel", 13, 13, "答案提示编码", Describes},
    {"zi", 0, 0, "答案提示字", Describes},
    // The phrase drills.
    {"cz", 1, 5, "目标词组%1", Describes},
    {"cztext", 1, 5, "已打出的词组%1", Names},
    {"czt", 1, 5, "词组编码%1", Names},
    {"Memo", 2, 2, "规则说明", Names},
    {"Label", 24, 24, "目标词组", Describes},
    {"Edit", 18, 18, "词组编码", Names},
    {"zi", 2, 2, "答案提示词组", Describes},
    {"czts", 0, 0, "答案提示编码", Describes},
    // The typing test.
    {"RichEdit", 1, 4, "原文第%1行", Describes},
    {"Memo", 3, 6, "输入第%1行", Names, -2},
    {"RichEdit", 5, 8, "标记第%1行", Describes, -4},
    {"Panel", 9, 9, "用时", Describes},
    // Pictures.
    {"Image", 1, 1, "五笔字根表", Names},
    {"Image", 2, 2, "五笔字根口诀", Names},
    {"Image", 7, 7, "键名字键位图", Names},
    {"Image", 8, 8, "一级简码键位图", Names},
    {"Image", 9, 9, "字根键位图", Names},
    // The About page.
    {"Image", 3, 3, "制作者", Names},
    {"Image", 4, 4, "作者照片", Names},
    {"Image", 5, 5, "网址", Names},
    {"Image", 6, 6, "网站名称", Names},
};

} // namespace

void nameControls(QWidget* root) {
    static const QRegularExpression split(QStringLiteral("^(\\D+)(\\d*)$"));
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QRegularExpressionMatch m = split.match(w->objectName());
        if (!m.hasMatch())
            continue;
        const QString family = m.captured(1);
        const int number = m.captured(2).toInt();
        for (const Naming& n : kNames) {
            if (family != QLatin1String(n.family) || number < n.first || number > n.last)
                continue;
            QString text = QString::fromUtf8(n.text);
            if (text.contains(QLatin1String("%1")))
                text = text.arg(number + n.shift);
            if (n.kind == Describes)
                w->setAccessibleDescription(text);
            else
                w->setAccessibleName(text);
            break;
        }
    }
}

} // namespace app
